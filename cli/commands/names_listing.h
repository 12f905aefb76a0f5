#pragma once

#include <string>

#include "script/script_host.h"

namespace tagwright::cli {

// The component's catalogue as it answers it: every property and method
// with both names, and for methods the parameter count and whether a value
// is returned. UTF-8, aligned in columns.
std::string namesListing(ScriptHost& host);

}  // namespace tagwright::cli

#pragma once

#include <string>
#include <string_view>

namespace tagwright::cli {

// A JSON string literal of UTF-8 text, quotes included: quote, backslash
// and control characters escaped, everything else as it is.
std::string jsonString(std::string_view utf8);

}  // namespace tagwright::cli

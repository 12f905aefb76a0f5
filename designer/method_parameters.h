#pragma once

#include <span>
#include <string_view>

#include "core/addin/catalogue.h"

namespace tagwright::designer {

// The names of a method's arguments, in order, as the page offers them
// while the user types a call.
std::span<const std::string_view> methodParameters(Method method);

}  // namespace tagwright::designer

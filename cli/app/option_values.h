#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace tagwright::cli {

// The values options take, read the one way every command reads them.

// "LPT1".."LPT3", "COM1".."COM9", "USB", in any letter case; the canonical
// upper-case name, or nothing.
std::optional<std::string> canonicalPortName(const std::string& name);

// Seconds as the time-out options take them: a positive number, with at
// most three decimals, up to a day ("5", "0.25"); nothing for anything else.
std::optional<std::chrono::milliseconds> parseSeconds(const std::string& text);

}  // namespace tagwright::cli

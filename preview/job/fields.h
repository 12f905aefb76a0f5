#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace tagwright::preview {

// Splits `text` at commas into at most `count` fields; the last field takes
// the rest of the text, commas included (a text or data field may hold
// commas). Fewer fields come back when the text has fewer commas.
std::vector<std::string_view> splitFields(std::string_view text, std::size_t count);

// A whole decimal integer with an optional sign, spaces around it allowed.
// Nothing when the field is empty, is not a number or does not fit in an
// int.
std::optional<int> parseInteger(std::string_view field);

// A non-negative decimal number of millimetres ("25", "25.5").
std::optional<double> parseMillimetres(std::string_view field);

}  // namespace tagwright::preview

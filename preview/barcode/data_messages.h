#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The pieces that messages about barcode data are made of.
namespace tagwright::preview {

std::string quoted(std::string_view text);

// What is wrong with data that should be `takes` digits: letters, another
// character that is not a digit, or the count.
std::string digitsProblem(std::string_view name, std::string_view takes, std::string_view data);

// A check digit that does not match the digits before it, with the right one.
std::string wrongCheckDigit(std::string_view name, std::string_view digitsWithCheck, char expected);

// The first code point above U+00FF in UTF-8 text, as its UTF-8 bytes, or
// empty; a broken sequence is reported as "invalid UTF-8".
std::string firstBeyondLatin1(std::string_view text);

// The UTF-8 character that starts at byte `i` (or the single byte when it
// is not a valid start).
std::string utf8CharacterAt(std::string_view text, std::size_t i);

}  // namespace tagwright::preview

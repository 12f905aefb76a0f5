#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/util/result.h"

// The one UTF-8 codec of the code base: script files, the terminal, file
// names, the preview's texts and the registration script all go through it.
namespace tagwright {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// Where and why a byte sequence is not valid UTF-8.
struct Utf8Fault {
  std::size_t byteOffset;    // offset of the first byte of the bad sequence
  std::size_t decodedCount;  // code points decoded before it
  std::string reason;
};

// Strict decoding: overlong forms, surrogates, code points above U+10FFFF,
// stray continuation bytes and truncated sequences are faults; the first
// one is reported.
Result<std::u32string, Utf8Fault> decodeUtf8(std::string_view bytes);

// Lenient decoding, for texts shown to a user: each byte that does not start
// a valid sequence becomes one U+FFFD and decoding goes on after it.
std::u32string decodeUtf8Replacing(std::string_view bytes);
std::u16string utf8ToUtf16(std::string_view bytes);

// The valid sequence that starts at byte `at`, or nothing (a bad or cut
// sequence, or `at` past the end).
struct Utf8Sequence {
  char32_t value;
  std::size_t length;  // in bytes, 1 to 4
};
std::optional<Utf8Sequence> utf8SequenceAt(std::string_view bytes, std::size_t at);

// Code points to UTF-8. Nothing is refused: a value is written as its bit
// pattern, a surrogate too.
void appendUtf8(std::string& out, char32_t c);
std::string toUtf8(std::u32string_view text);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);

// Code points to UTF-16, with surrogate pairs above U+FFFF.
std::u16string toUtf16(std::u32string_view text);

constexpr bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The number of UTF-16 units (1 or 2) of the character at unit `at`: 2 for a
// surrogate pair, 1 for anything else, a lone surrogate included.
std::size_t utf16CharacterLength(std::u16string_view text, std::size_t at);

}  // namespace tagwright

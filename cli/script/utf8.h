#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tagwright::cli {

// Where and why a byte sequence is not valid UTF-8.
struct Utf8Fault {
  std::size_t byteOffset;    // offset of the first byte of the bad sequence
  std::size_t decodedCount;  // code points decoded before it
  std::string reason;
};

struct Utf8Decoded {
  std::u32string text;  // the code points decoded before any fault
  std::optional<Utf8Fault> fault;
};

// Strict decoding: overlong forms, surrogates, code points above U+10FFFF,
// stray continuation bytes and truncated sequences are faults. Decoding
// stops at the first fault.
Utf8Decoded decodeUtf8(std::string_view bytes);

// Code points to UTF-16, with surrogate pairs above U+FFFF.
std::u16string toUtf16(std::u32string_view text);

// UTF-16 (from the component) to UTF-8 for the terminal; an unpaired
// surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
std::string toUtf8(std::u32string_view text);

// Plain UTF-8 to UTF-16 for texts that come from the command line; invalid
// sequences become U+FFFD.
std::u16string utf8ToUtf16(std::string_view bytes);

}  // namespace tagwright::cli

#include "core/text/utf8.h"

#include <cstdint>

namespace tagwright {
namespace {

// What is wrong with the sequence at a byte, if anything.
enum class Flaw { None, BadLead, CutShort, BadContinuation, Overlong, Surrogate, AboveMaximum };

struct Decoded {
  char32_t value = 0;
  std::size_t length = 0;
  Flaw flaw = Flaw::None;
  unsigned char byte = 0;  // the offending byte, for BadLead and BadContinuation
};

// The sequence that starts at `at` (< bytes.size()). The checks run in a
// fixed order, so that a sequence with several flaws is always reported by
// the same one.
Decoded decodeAt(std::string_view bytes, std::size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  std::uint32_t value = 0;
  std::uint32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1Fu, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0Fu, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07u, minimum = 0x10000;
  } else {
    return {0, 0, Flaw::BadLead, lead};
  }
  if (at + length > bytes.size()) return {0, 0, Flaw::CutShort};
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(bytes[at + k]);
    if ((next & 0xC0) != 0x80) return {0, 0, Flaw::BadContinuation, next};
    value = (value << 6) | (next & 0x3Fu);
  }
  if (value < minimum) return {0, 0, Flaw::Overlong};
  if (isSurrogate(value)) return {0, 0, Flaw::Surrogate};
  if (value > 0x10FFFF) return {0, 0, Flaw::AboveMaximum};
  return {static_cast<char32_t>(value), length};
}

std::string hexByte(unsigned char b) {
  const char* digits = "0123456789ABCDEF";
  std::string text = "0x";
  text += digits[b >> 4];
  text += digits[b & 0xF];
  return text;
}

// The words of a fault as the script reader shows them.
std::string reasonOf(const Decoded& d) {
  switch (d.flaw) {
    case Flaw::BadLead: return "byte " + hexByte(d.byte) + " cannot start a character";
    case Flaw::CutShort: return "character cut short at the end of the file";
    case Flaw::BadContinuation: return "byte " + hexByte(d.byte) + " inside a multi-byte character";
    case Flaw::Overlong: return "overlong encoding";
    case Flaw::Surrogate: return "encoded surrogate";
    case Flaw::AboveMaximum: return "code point above U+10FFFF";
    case Flaw::None: break;
  }
  return {};
}

}  // namespace

Result<std::u32string, Utf8Fault> decodeUtf8(std::string_view bytes) {
  std::u32string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const Decoded d = decodeAt(bytes, i);
    if (d.flaw != Flaw::None) {
      return Result<std::u32string, Utf8Fault>::failure(Utf8Fault{i, text.size(), reasonOf(d)});
    }
    text += d.value;
    i += d.length;
  }
  return text;
}

std::u32string decodeUtf8Replacing(std::string_view bytes) {
  std::u32string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const Decoded d = decodeAt(bytes, i);
    if (d.flaw == Flaw::None) {
      text += d.value;
      i += d.length;
    } else {
      text += kReplacementCharacter;
      ++i;
    }
  }
  return text;
}

std::u16string utf8ToUtf16(std::string_view bytes) { return toUtf16(decodeUtf8Replacing(bytes)); }

std::optional<Utf8Sequence> utf8SequenceAt(std::string_view bytes, std::size_t at) {
  if (at >= bytes.size()) return std::nullopt;
  const Decoded d = decodeAt(bytes, at);
  if (d.flaw != Flaw::None) return std::nullopt;
  return Utf8Sequence{d.value, d.length};
}

void appendUtf8(std::string& out, char32_t c) {
  auto byte = [](std::uint32_t v) { return static_cast<char>(static_cast<unsigned char>(v)); };
  const auto v = static_cast<std::uint32_t>(c);
  if (v < 0x80) {
    out += byte(v);
  } else if (v < 0x800) {
    out += byte(0xC0 | (v >> 6));
    out += byte(0x80 | (v & 0x3F));
  } else if (v < 0x10000) {
    out += byte(0xE0 | (v >> 12));
    out += byte(0x80 | ((v >> 6) & 0x3F));
    out += byte(0x80 | (v & 0x3F));
  } else {
    out += byte(0xF0 | (v >> 18));
    out += byte(0x80 | ((v >> 12) & 0x3F));
    out += byte(0x80 | ((v >> 6) & 0x3F));
    out += byte(0x80 | (v & 0x3F));
  }
}

std::string toUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) appendUtf8(out, c);
  return out;
}

std::string toUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char16_t unit = text[i];
    if (utf16CharacterLength(text, i) == 2) {
      appendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                          (static_cast<char32_t>(text[i + 1]) - 0xDC00));
      i += 2;
      continue;
    }
    appendUtf8(out, isSurrogate(unit) ? kReplacementCharacter : char32_t{unit});
    ++i;
  }
  return out;
}

std::u16string toUtf16(std::u32string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      const std::uint32_t v = static_cast<std::uint32_t>(c) - 0x10000;
      out += static_cast<char16_t>(0xD800 + (v >> 10));
      out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    }
  }
  return out;
}

std::size_t utf16CharacterLength(std::u16string_view text, std::size_t at) {
  const bool pair =
      at + 1 < text.size() && isHighSurrogate(text[at]) && isLowSurrogate(text[at + 1]);
  return pair ? 2 : 1;
}

}  // namespace tagwright

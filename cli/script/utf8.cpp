#include "cli/script/utf8.h"

#include <cstdint>

namespace tagwright::cli {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

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

std::string hexByte(unsigned char b) {
  const char* digits = "0123456789ABCDEF";
  std::string text = "0x";
  text += digits[b >> 4];
  text += digits[b & 0xF];
  return text;
}

}  // namespace

Utf8Decoded decodeUtf8(std::string_view bytes) {
  Utf8Decoded result;
  result.text.reserve(bytes.size());
  std::size_t i = 0;
  auto fail = [&](std::string reason) {
    result.fault = Utf8Fault{i, result.text.size(), std::move(reason)};
  };
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      result.text += static_cast<char32_t>(lead);
      ++i;
      continue;
    }
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
      fail("byte " + hexByte(lead) + " cannot start a character");
      return result;
    }
    if (i + length > bytes.size()) {
      fail("character cut short at the end of the file");
      return result;
    }
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) {
        fail("byte " + hexByte(next) + " inside a multi-byte character");
        return result;
      }
      value = (value << 6) | (next & 0x3Fu);
    }
    if (value < minimum) {
      fail("overlong encoding");
      return result;
    }
    if (value >= 0xD800 && value <= 0xDFFF) {
      fail("encoded surrogate");
      return result;
    }
    if (value > 0x10FFFF) {
      fail("code point above U+10FFFF");
      return result;
    }
    result.text += static_cast<char32_t>(value);
    i += length;
  }
  return result;
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

std::string toUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      const char32_t c = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                         (static_cast<char32_t>(text[i + 1]) - 0xDC00);
      appendUtf8(out, c);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      appendUtf8(out, kReplacement);
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

std::string toUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) appendUtf8(out, c);
  return out;
}

std::u16string utf8ToUtf16(std::string_view bytes) {
  std::u32string points;
  while (!bytes.empty()) {
    Utf8Decoded decoded = decodeUtf8(bytes);
    points += decoded.text;
    if (!decoded.fault) break;
    points += kReplacement;
    bytes.remove_prefix(decoded.fault->byteOffset + 1);
  }
  return toUtf16(points);
}

}  // namespace tagwright::cli

#include "platform/posix/iconv_code_pages.h"

#include <cerrno>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace tagwright {
namespace {

std::mutex& conversionLock() {
  static std::mutex lock;
  return lock;
}

iconv_t openConversion(const std::string& to, const std::string& from) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error("code page conversion from " + from + " to " + to +
                             " is not available");
  }
  return cd;
}

// Converts `units` input units of `unitSize` bytes each, one unit at a time
// where a unit has no mapping: that unit becomes `fallback` in the output.
// `unitSize` is 2 for UTF-16 (surrogate pairs are passed whole), 1 for a
// single-byte page and 4 for UTF-32.
std::string convert(iconv_t cd, const char* input, std::size_t bytes, std::size_t unitSize,
                    const std::string& fallback) {
  std::lock_guard<std::mutex> guard(conversionLock());
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  std::vector<char> chunk(4096);
  char* in = const_cast<char*>(input);
  std::size_t inLeft = bytes;
  while (inLeft > 0) {
    char* outPtr = chunk.data();
    std::size_t outLeft = chunk.size();
    std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(chunk.data(), chunk.size() - outLeft);
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: this unit (a pair of UTF-16 units for a surrogate
    // pair) has no mapping or is malformed; put the fallback in its place.
    std::size_t skip = unitSize;
    if (unitSize == 2 && inLeft >= 4) {
      auto first = static_cast<unsigned char>(in[1]) << 8 | static_cast<unsigned char>(in[0]);
      if (first >= 0xD800 && first <= 0xDBFF) skip = 4;
    }
    if (skip > inLeft) skip = inLeft;
    in += skip;
    inLeft -= skip;
    out += fallback;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace

IconvCodePages::IconvCodePages(std::string ansi, std::string oem)
    : ansi_(std::move(ansi)),
      oem_(std::move(oem)),
      utf16ToAnsi_(openConversion(ansi_, "UTF-16LE")),
      ansiToUtf16_(openConversion("UTF-16LE", ansi_)),
      ansiToUtf32_(openConversion("UTF-32LE", ansi_)),
      utf32ToOem_(openConversion(oem_, "UTF-32LE")) {}

IconvCodePages::~IconvCodePages() {
  iconv_close(utf16ToAnsi_);
  iconv_close(ansiToUtf16_);
  iconv_close(ansiToUtf32_);
  iconv_close(utf32ToOem_);
}

std::string IconvCodePages::toAnsi(std::u16string_view text) const {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return convert(utf16ToAnsi_, bytes.data(), bytes.size(), 2, "?");
}

std::u16string IconvCodePages::fromAnsi(std::string_view text) const {
  static const std::string kQuestionMark("?\0", 2);
  std::string bytes = convert(ansiToUtf16_, text.data(), text.size(), 1, kQuestionMark);
  std::u16string result;
  result.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    result += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                    static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return result;
}

std::string IconvCodePages::ansiToOem(std::string_view text) const {
  // Byte for byte: every ANSI byte becomes one OEM byte, '?' where the OEM
  // page has no such character (or the ANSI page has no character there).
  static const std::string kQuestionMark32("?\0\0\0", 4);
  std::string wide = convert(ansiToUtf32_, text.data(), text.size(), 1, kQuestionMark32);
  return convert(utf32ToOem_, wide.data(), wide.size(), 4, "?");
}

}  // namespace tagwright

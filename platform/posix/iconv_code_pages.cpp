#include "platform/posix/iconv_code_pages.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <stdexcept>

namespace tagwright {
namespace {

constexpr char kNoMapping = '?';

// An iconv conversion descriptor, closed when it goes out of scope.
class Conversion {
 public:
  Conversion(const std::string& to, const std::string& from)
      : cd_(iconv_open(to.c_str(), from.c_str())) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error("the code page conversion from " + from + " to " + to +
                               " is not available (iconv --list shows the known names)");
    }
  }
  ~Conversion() { iconv_close(cd_); }
  Conversion(const Conversion&) = delete;
  Conversion& operator=(const Conversion&) = delete;

  // Converts one whole input from the initial state. Returns the number of
  // output bytes, or -1 when iconv refuses the input or it is incomplete.
  int convert(const char* input, std::size_t inputBytes, char* output, std::size_t outputBytes) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input);
    char* out = output;
    std::size_t inLeft = inputBytes;
    std::size_t outLeft = outputBytes;
    if (iconv(cd_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return -1;
    // Flush what a stateful converter may still hold.
    if (iconv(cd_, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) return -1;
    if (inLeft != 0) return -1;
    return static_cast<int>(outputBytes - outLeft);
  }

 private:
  iconv_t cd_;
};

[[noreturn]] void notSingleByte(const std::string& page) {
  throw std::runtime_error("the code page " + page +
                           " is not a single-byte code page; the printer needs one "
                           "(for example CP1251, CP1252, CP866 or CP437)");
}

// Asks iconv about every byte and every BMP character of a page, one at a
// time, so that the tables say exactly what iconv says.
IconvCodePages::PageTables buildTables(const std::string& page) {
  IconvCodePages::PageTables tables;
  Conversion decode("UTF-16LE", page);
  Conversion encode(page, "UTF-16LE");

  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    unsigned char out[8];
    const int length = decode.convert(&in, 1, reinterpret_cast<char*>(out), sizeof out);
    if (length < 0 && errno == EINVAL) notSingleByte(page);  // a lead byte
    if (length > 2) notSingleByte(page);                     // one byte, several characters
    tables.toUtf16[static_cast<std::size_t>(byte)] =
        length == 2 ? static_cast<char16_t>(out[0] | out[1] << 8) : char16_t{kNoMapping};
  }

  for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
    std::uint16_t& entry = tables.fromUtf16[unit];
    entry = static_cast<unsigned char>(kNoMapping);
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;  // half of a pair, never a character
    const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    char out[16];
    const int length = encode.convert(in, 2, out, sizeof out);
    if (length == 1) {
      entry = static_cast<unsigned char>(out[0]);
    } else if (length > 1) {
      entry = static_cast<std::uint16_t>(IconvCodePages::PageTables::kSeveralBytes +
                                         tables.severalBytes.size());
      tables.severalBytes.emplace_back(out, static_cast<std::size_t>(length));
    }
  }
  return tables;
}

// The tables of every page named so far in the process, built once each.
std::shared_ptr<const IconvCodePages::PageTables> tablesOf(const std::string& page) {
  static std::mutex lock;
  static std::map<std::string, std::shared_ptr<const IconvCodePages::PageTables>> pages;
  std::lock_guard<std::mutex> guard(lock);
  auto found = pages.find(page);
  if (found != pages.end()) return found->second;
  auto tables = std::make_shared<const IconvCodePages::PageTables>(buildTables(page));
  pages.emplace(page, tables);
  return tables;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

IconvCodePages::IconvCodePages(std::string ansi, std::string oem)
    : ansi_(std::move(ansi)), oem_(std::move(oem)), ansiTables_(tablesOf(ansi_)) {
  // Byte for byte: every ANSI byte becomes one OEM byte, '?' where the ANSI
  // page has no character there or the OEM page has no such character.
  const std::shared_ptr<const PageTables> oemTables = tablesOf(oem_);
  for (std::size_t byte = 0; byte < 256; ++byte) {
    const char16_t character = ansiTables_->toUtf16[byte];
    const std::uint16_t entry = oemTables->fromUtf16[character];
    ansiToOem_[byte] = entry < PageTables::kSeveralBytes ? static_cast<char>(entry) : kNoMapping;
  }
}

std::string IconvCodePages::toAnsi(std::u16string_view text) const {
  std::string bytes(text.size(), '\0');
  const PageTables& tables = *ansiTables_;
  std::size_t written = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    // A pair stands for one character outside the BMP: one '?'. A lone high
    // surrogate is one '?' of its own, and the unit after it is converted.
    if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) ++i;
    const std::uint16_t entry = tables.fromUtf16[c];
    if (entry < PageTables::kSeveralBytes) {
      bytes[written++] = static_cast<char>(entry);
      continue;
    }
    const std::string& several = tables.severalBytes[entry - PageTables::kSeveralBytes];
    bytes.resize(bytes.size() + several.size() - 1);
    bytes.replace(written, several.size(), several);
    written += several.size();
  }
  bytes.resize(written);
  return bytes;
}

std::u16string IconvCodePages::fromAnsi(std::string_view text) const {
  std::u16string result(text.size(), u'\0');
  const auto& table = ansiTables_->toUtf16;
  for (std::size_t i = 0; i < text.size(); ++i) {
    result[i] = table[static_cast<unsigned char>(text[i])];
  }
  return result;
}

std::string IconvCodePages::ansiToOem(std::string_view text) const {
  std::string result(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    result[i] = ansiToOem_[static_cast<unsigned char>(text[i])];
  }
  return result;
}

}  // namespace tagwright

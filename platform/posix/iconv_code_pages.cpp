#include "platform/posix/iconv_code_pages.h"

#include <map>
#include <mutex>
#include <stdexcept>
#include <utility>

#include "core/text/utf8.h"
#include "platform/posix/iconv_converter.h"

namespace tagwright {
namespace {

constexpr char kNoMapping = '?';

char16_t utf16Unit(std::string_view littleEndian) {
  return static_cast<char16_t>(static_cast<unsigned char>(littleEndian[0]) |
                               static_cast<unsigned char>(littleEndian[1]) << 8);
}

// A converter between two pages, or the exception that says it is missing.
IconvConverter converter(const std::string& to, const std::string& from) {
  Result<IconvConverter, IconvError> opened = IconvConverter::open(to, from);
  if (!opened) {
    throw std::runtime_error("the code page conversion from " + from + " to " + to +
                             " is not available (iconv --list shows the known names)");
  }
  return std::move(opened).value();
}

[[noreturn]] void notSingleByte(const std::string& page) {
  throw std::runtime_error("the code page " + page +
                           " is not a single-byte code page; the printer needs one "
                           "(for example CP1251, CP1252, CP866 or CP437)");
}

// Asks iconv about every byte and every BMP character of a page, one at a
// time, so that the tables say exactly what iconv says.
IconvCodePages::PageTables buildTables(const std::string& page) {
  IconvCodePages::PageTables tables;
  IconvConverter decode = converter("UTF-16LE", page);
  IconvConverter encode = converter(page, "UTF-16LE");

  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    const Result<std::string, IconvError> out = decode.convert(std::string_view(&in, 1));
    if (!out && out.error() == IconvError::IncompleteInput) notSingleByte(page);  // a lead byte
    if (out && out.value().size() > 2) notSingleByte(page);  // one byte, several characters
    tables.toUtf16[static_cast<std::size_t>(byte)] =
        out && out.value().size() == 2 ? utf16Unit(out.value()) : char16_t{kNoMapping};
  }

  for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
    std::uint16_t& entry = tables.fromUtf16[unit];
    entry = static_cast<unsigned char>(kNoMapping);
    if (isSurrogate(unit)) continue;  // half of a pair, never a character
    const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    const Result<std::string, IconvError> out = encode.convert(std::string_view(in, 2));
    if (!out) continue;
    if (out.value().size() == 1) {
      entry = static_cast<unsigned char>(out.value()[0]);
    } else if (out.value().size() > 1) {
      entry = static_cast<std::uint16_t>(IconvCodePages::PageTables::kSeveralBytes +
                                         tables.severalBytes.size());
      tables.severalBytes.push_back(out.value());
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

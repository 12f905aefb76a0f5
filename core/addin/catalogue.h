#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tagwright {

enum class Property : std::int32_t {
  IsEnabled = 0,
  NumberPort,
  Speed,
  Darkness,
  Stripper,
  Cutter,
  LabelHeight,
  LabelWidth,
  LabelLeftMargin,
  LabelTopMargin,
  StopPosition,
  BarcodeWidth,
  BarcodeReadable,
  BarcodeNarrow,
  LabelType,
  GapLenght,
  FeedLenght,
  BlackMarkLenght,
  BlackMarkPosition,
  LabelRotate,
  Termotransfer,
};

enum class Method : std::int32_t {
  StartLabel = 0,
  PutBarcode,
  PutText,
  PutRectangle,
  InversRectangle,
  Print,
  PutLoadedText,
  PrintToBuff,
  PutImage,
  PutBarcodePDF417,
};

inline constexpr std::int32_t kPropertyCount = 21;
inline constexpr std::int32_t kMethodCount = 10;

// Extension name that RegisterExtensionAs returns, and the string resource
// ids of that name and of the settings page title.
inline constexpr std::u16string_view kExtensionName = u"Tagwright";
inline constexpr int kExtensionNameResource = 100;
inline constexpr int kPageTitleResource = 103;
inline constexpr std::u16string_view kPageTitle = u"Принтер этикеток";

struct PropertyEntry {
  int resourceId;
  std::u16string_view english;
  std::u16string_view russian;
};

struct MethodEntry {
  int resourceId;
  std::u16string_view english;
  std::u16string_view russian;
  std::int32_t paramCount;
  bool hasReturnValue;
};

// Catalogue rows by number; nullptr outside 0..count-1.
const PropertyEntry* propertyEntry(std::int32_t number);
const MethodEntry* methodEntry(std::int32_t number);

// The name of a catalogue row for an alias: 0 English, 1 Russian, any other
// alias the empty name.
std::u16string_view catalogueName(std::u16string_view english, std::u16string_view russian,
                                  std::int32_t alias);

// Exact, case-sensitive UTF-16 lookup of an English or Russian name.
std::optional<std::int32_t> findPropertyNumber(std::u16string_view name);
std::optional<std::int32_t> findMethodNumber(std::u16string_view name);

// The resource text of a row, "English,Russian", as the string table holds it.
std::u16string catalogueResourceText(std::u16string_view english, std::u16string_view russian);

}  // namespace tagwright

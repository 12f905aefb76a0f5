#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/addin/catalogue.h"

namespace tagwright::cli {

// What a method argument becomes in the command line the component writes.
enum class ArgumentUse {
  Number,  // a number field
  Text,    // a text or data field
  Font,    // PutText's font: one letter
  Type,    // PutBarcode's type: a letter, for some a letter and "2"
};

struct ArgumentField {
  std::string_view name;  // for messages: "height", "x1"
  std::size_t field;      // the field it is written to
  ArgumentUse use;
};

// How the command line of an element method reads: its command letters,
// its fields (the last one takes the rest, commas included), where each
// argument goes, and whether its bytes are in the OEM code page.
struct ElementLayout {
  Method method;
  std::string_view command;  // "A", "V", "B", "R", "Lo,", "Y", "P"
  std::size_t fieldCount;
  std::span<const ArgumentField> arguments;
  bool oem;
  std::string_view noun;  // "text", "barcode", ... for messages
};

// The layout of an element method; nothing for StartLabel, Print and
// PrintToBuff.
const ElementLayout* elementLayout(Method method);

// One command line an element call wrote, split as its layout says.
struct WrittenElement {
  const ElementLayout* layout = nullptr;
  std::string_view line;  // without its CR
  std::vector<std::string_view> fields;
};

// Splits the line (its CR removed) by the layout; nothing when it is not
// such a line.
std::optional<WrittenElement> readWrittenElement(const ElementLayout& layout,
                                                 std::string_view line);

}  // namespace tagwright::cli

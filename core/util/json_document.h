#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace tagwright::cli {

// A JSON document whose members keep the order they were added in, which
// is the order the program writes them.
using JsonDocument = nlohmann::ordered_json;

// The document as JSON text: on one line, or with `indent` spaces a level.
// UTF-8 text is written as it is. A byte that is not valid UTF-8 (a file
// name or printer data in another encoding) is written as U+FFFD, so that
// writing a report or a log line never fails.
inline std::string jsonText(const JsonDocument& document, int indent = -1) {
  return document.dump(indent, ' ', false, JsonDocument::error_handler_t::replace);
}

}  // namespace tagwright::cli

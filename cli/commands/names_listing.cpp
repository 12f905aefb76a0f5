#include "cli/commands/names_listing.h"

#include <algorithm>
#include <vector>

#include "core/text/utf8.h"

namespace tagwright::cli {
namespace {

// Columns are padded by characters, not bytes, so that Cyrillic names line
// up on a terminal.
std::string pad(const std::u16string& text, std::size_t width) {
  std::string out = toUtf8(text);
  for (std::size_t n = text.size(); n < width; ++n) out += ' ';
  return out;
}

std::string number(std::int32_t n) {
  std::string s = std::to_string(n);
  return std::string(s.size() < 3 ? 3 - s.size() : 0, ' ') + s;
}

struct Row {
  std::int32_t number;
  std::u16string english;
  std::u16string russian;
};

std::size_t widest(const std::vector<Row>& rows, std::u16string Row::*field, std::size_t least) {
  std::size_t width = least;
  for (const Row& r : rows) width = std::max(width, (r.*field).size());
  return width;
}

}  // namespace

std::string namesListing(ScriptHost& host) {
  std::vector<Row> properties;
  for (std::int32_t n = 0; n < host.propertyCount(); ++n) {
    properties.push_back(Row{n, host.propertyName(n, 0), host.propertyName(n, 1)});
  }
  std::vector<Row> methods;
  for (std::int32_t n = 0; n < host.methodCount(); ++n) {
    methods.push_back(Row{n, host.methodName(n, 0), host.methodName(n, 1)});
  }
  std::vector<Row> all = properties;
  all.insert(all.end(), methods.begin(), methods.end());
  const std::size_t englishWidth = widest(all, &Row::english, 7);
  const std::size_t russianWidth = widest(all, &Row::russian, 7);

  std::string out = "Properties (" + std::to_string(properties.size()) +
                    "), each a 32-bit integer, read and written:\n";
  out += "No. " + pad(u"English", englishWidth) + "  " + pad(u"Russian", russianWidth) + "\n";
  for (const Row& r : properties) {
    out += number(r.number) + " " + pad(r.english, englishWidth) + "  " + toUtf8(r.russian) + "\n";
  }
  out += "\nMethods (" + std::to_string(methods.size()) + "):\n";
  out += "No. " + pad(u"English", englishWidth) + "  " + pad(u"Russian", russianWidth) +
         "  Parameters  Returns\n";
  for (const Row& r : methods) {
    const std::optional<std::int32_t> params = host.paramCount(r.number);
    const std::optional<bool> returns = host.hasReturnValue(r.number);
    std::string count = params ? std::to_string(*params) : "?";
    count.resize(std::max<std::size_t>(count.size(), 10), ' ');
    out += number(r.number) + " " + pad(r.english, englishWidth) + "  " +
           pad(r.russian, russianWidth) + "  " + count + "  " +
           (returns ? (*returns ? "a value" : "none") : "?") + "\n";
  }
  return out;
}

}  // namespace tagwright::cli

#include "core/label/command_line.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace tagwright {
namespace {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 0)))
#endif
std::string vformat(const char* format, std::va_list args) {
  std::va_list measure;
  va_copy(measure, args);
  int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  // A line ends at its first zero byte, as a C string would.
  text.resize(std::strlen(text.c_str()));
  return text;
}

}  // namespace

void appendLine(std::string& buffer, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  buffer += vformat(format, args);
  va_end(args);
}

std::string formatLine(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string line = vformat(format, args);
  va_end(args);
  return line;
}

}  // namespace tagwright

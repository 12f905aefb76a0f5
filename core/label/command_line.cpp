#include "core/label/command_line.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace tagwright {
namespace {

// Formats with vsnprintf: any format, at the cost of the C library's stream
// set-up for every line.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 0)))
#endif
void vappendByPrintf(std::string& buffer, const char* format, std::va_list args) {
  char line[256];
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(line, sizeof line, format, args);
  if (length > 0 && static_cast<std::size_t>(length) < sizeof line) {
    buffer.append(line, std::strlen(line));  // up to the first zero byte
  } else if (length > 0) {
    const std::size_t start = buffer.size();
    buffer.resize(start + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(&buffer[start], static_cast<std::size_t>(length) + 1, format, again);
    buffer.resize(start + std::strlen(&buffer[start]));
  }
  va_end(again);
}

template <typename Integer>
void appendInteger(std::string& buffer, Integer value) {
  char digits[24];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
  buffer.append(digits, end.ptr);
}

// Formats the conversions that command lines use (%d, %lld, %c, %s, %%) in
// one pass straight into the buffer, as printf would. Returns false, with
// the buffer as it was, at any other conversion.
bool vappendCommand(std::string& buffer, const char* format, std::va_list args) {
  const std::size_t start = buffer.size();
  for (const char* f = format; *f != '\0'; ++f) {
    if (*f != '%') {
      const char* plain = f;
      while (f[1] != '\0' && f[1] != '%') ++f;
      buffer.append(plain, static_cast<std::size_t>(f - plain + 1));
      continue;
    }
    ++f;
    if (*f == 'd') {
      appendInteger(buffer, va_arg(args, int));
    } else if (f[0] == 'l' && f[1] == 'l' && f[2] == 'd') {
      appendInteger(buffer, va_arg(args, long long));
      f += 2;
    } else if (*f == 's') {
      const char* text = va_arg(args, const char*);
      buffer.append(text);
    } else if (*f == 'c') {
      const char c = static_cast<char>(va_arg(args, int));
      // A line ends at its first zero byte, as a C string would.
      if (c == '\0') return true;
      buffer += c;
    } else if (*f == '%') {
      buffer += '%';
    } else {
      buffer.resize(start);
      return false;
    }
  }
  return true;
}

#if defined(__GNUC__)
__attribute__((format(printf, 2, 0)))
#endif
void vappend(std::string& buffer, const char* format, std::va_list args) {
  std::va_list again;
  va_copy(again, args);
  if (!vappendCommand(buffer, format, args)) vappendByPrintf(buffer, format, again);
  va_end(again);
}

}  // namespace

void appendLine(std::string& buffer, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  vappend(buffer, format, args);
  va_end(args);
}

std::string formatLine(const char* format, ...) {
  std::string line;
  std::va_list args;
  va_start(args, format);
  vappend(line, format, args);
  va_end(args);
  return line;
}

}  // namespace tagwright

#pragma once

#include <string>

namespace tagwright {

// The carriage return that ends every printer command; no line feed is ever
// written.
inline constexpr char kCommandEnd = '\r';

// Formats one command line printf-style and appends it to `buffer`, up to
// the first zero byte of the formatted text. The format supplies the final
// carriage return as its last %c argument.
void appendLine(std::string& buffer, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Formats one command line into a new text (used where the whole line is
// converted to another code page before it is appended).
std::string formatLine(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace tagwright

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/script/script_value.h"
#include "core/text/code_pages.h"

namespace tagwright {

// Reads the arguments of one method call in order 0, 1, 2, ..., each once.
// A missing argument reads as 0 or as empty text. Texts are converted to
// the ANSI code page, end at their first zero byte, and have every carriage
// return and line feed replaced by a blank, so that one element is always
// exactly one command line.
class ArgumentReader {
 public:
  ArgumentReader(const ScriptArgs& args, const CodePages& codePages)
      : args_(args), codePages_(codePages) {}

  std::int32_t number();
  std::string text();
  // A text read as it is, upper-cased first (ASCII and Cyrillic letters).
  std::string upperCaseText();

 private:
  const ScriptValue& next() { return argumentAt(args_, index_++); }
  std::string toCommandText(const std::u16string& text) const;

  const ScriptArgs& args_;
  const CodePages& codePages_;
  std::size_t index_ = 0;
};

// Text rules shared by the elements.
// Removes trailing blanks (byte 32 only) while more than one byte remains.
void trimTrailingBlanks(std::string& text);
// Cuts a text to `keep` bytes when it is at least `cutFrom` bytes long.
void cutWhenLong(std::string& text, std::size_t cutFrom, std::size_t keep);

}  // namespace tagwright

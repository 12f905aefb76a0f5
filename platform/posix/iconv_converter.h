#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

#include "core/util/result.h"

namespace tagwright {

// Why iconv gave no text.
enum class IconvError {
  UnknownConversion,  // iconv knows no conversion between the two names
  InvalidSequence,    // the input has a sequence that is not text in its code page
  IncompleteInput,    // the input ends inside a multi-byte sequence
  Failed,             // any other refusal
};

// One iconv conversion descriptor, owned: closed when the converter goes.
// Not for several threads at once, as iconv's descriptors are not.
class IconvConverter {
 public:
  // `to` and `from` are iconv's names (iconv --list).
  static Result<IconvConverter, IconvError> open(const std::string& to, const std::string& from);

  IconvConverter(IconvConverter&& other) noexcept;
  IconvConverter& operator=(IconvConverter&& other) noexcept;
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;
  ~IconvConverter();

  // Converts all of `input` from the initial state, with whatever a stateful
  // code page still holds at the end; the output grows as it needs.
  Result<std::string, IconvError> convert(std::string_view input);

 private:
  explicit IconvConverter(iconv_t descriptor) : descriptor_(descriptor) {}
  void close();

  iconv_t descriptor_;
};

}  // namespace tagwright

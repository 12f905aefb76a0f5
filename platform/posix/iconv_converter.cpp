#include "platform/posix/iconv_converter.h"

#include <cerrno>
#include <utility>

namespace tagwright {
namespace {

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kRefused = static_cast<std::size_t>(-1);

IconvError errorOf(int code) {
  switch (code) {
    case EILSEQ: return IconvError::InvalidSequence;
    case EINVAL: return IconvError::IncompleteInput;
    default: return IconvError::Failed;
  }
}

}  // namespace

Result<IconvConverter, IconvError> IconvConverter::open(const std::string& to,
                                                        const std::string& from) {
  const iconv_t descriptor = iconv_open(to.c_str(), from.c_str());
  if (descriptor == kNoDescriptor) {
    return Result<IconvConverter, IconvError>::failure(
        errno == EINVAL ? IconvError::UnknownConversion : IconvError::Failed);
  }
  return IconvConverter(descriptor);
}

IconvConverter::IconvConverter(IconvConverter&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, kNoDescriptor)) {}

IconvConverter& IconvConverter::operator=(IconvConverter&& other) noexcept {
  if (this != &other) {
    close();
    descriptor_ = std::exchange(other.descriptor_, kNoDescriptor);
  }
  return *this;
}

IconvConverter::~IconvConverter() { close(); }

void IconvConverter::close() {
  if (descriptor_ != kNoDescriptor) iconv_close(descriptor_);
  descriptor_ = kNoDescriptor;
}

Result<std::string, IconvError> IconvConverter::convert(std::string_view input) {
  iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);  // the initial state
  // Room for a short conversion without going to the heap; longer ones grow.
  std::string output(input.size() + 8, '\0');
  std::size_t written = 0;
  // iconv takes a non-const input pointer; it only reads through it.
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  // The input first, then (with no input) what a stateful code page still
  // holds; either may ask for more room.
  bool flushing = input.empty();
  for (;;) {
    char* out = output.data() + written;
    std::size_t outLeft = output.size() - written;
    const std::size_t done = flushing ? iconv(descriptor_, nullptr, nullptr, &out, &outLeft)
                                      : iconv(descriptor_, &in, &inLeft, &out, &outLeft);
    const int code = errno;
    written = output.size() - outLeft;
    if (done == kRefused) {
      if (code != E2BIG) return Result<std::string, IconvError>::failure(errorOf(code));
      output.resize(output.size() * 2);
      continue;
    }
    if (flushing) break;
    if (inLeft != 0) return Result<std::string, IconvError>::failure(IconvError::Failed);
    flushing = true;
  }
  output.resize(written);
  return output;
}

}  // namespace tagwright

#pragma once

#include <stdio.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/util/c_file.h"
#include "core/util/unique_any.h"

namespace tagwright::testing {

// A C stream that writes into memory, for code that prints to a FILE*.
class MemoryStream {
 public:
  MemoryStream() : file_(::open_memstream(buffer_.put(), &size_)) {}
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  std::FILE* get() const { return file_.get(); }
  // What was written so far.
  std::string text() {
    std::fflush(file_.get());
    return std::string(buffer_.get(), size_);
  }

 private:
  struct buffer_traits {
    using type = char*;
    static constexpr char* invalid() noexcept { return nullptr; }
    static void close(char* buffer) noexcept { std::free(buffer); }
  };
  // The stream keeps the buffer's address here up to date until it is
  // closed, so the buffer is freed after the stream.
  unique_any<buffer_traits> buffer_;
  std::size_t size_ = 0;
  unique_c_file file_;
};

}  // namespace tagwright::testing

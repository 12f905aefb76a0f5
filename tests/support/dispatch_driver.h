#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/addin/add_in.h"

namespace tagwright::testing {

// Turns a stream of bytes into add-in calls: property writes, procedure and
// function calls with argument arrays of random length and random value
// types. Shared by the randomized test and the libFuzzer target.
class DispatchDriver {
 public:
  DispatchDriver(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool done() const { return pos_ >= size_; }
  // Runs one call against the object.
  void step(AddIn& addIn);

 private:
  std::uint8_t byte();
  std::int32_t number();
  std::u16string text();
  ScriptValue value();

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// The command stream invariants: every line ends with byte 13 and no byte 10
// appears anywhere. Returns an explanation of the first breach, or empty.
std::string checkCommandText(const std::string& text);

}  // namespace tagwright::testing

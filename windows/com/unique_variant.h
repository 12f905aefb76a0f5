#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstring>

namespace tagwright::com {

// Owns one VARIANT: initialised empty, cleared (freeing a string, releasing
// an object, destroying an array) whenever it is reset and when it goes.
class unique_variant {
 public:
  unique_variant() noexcept { ::VariantInit(&value_); }
  unique_variant(unique_variant&& other) noexcept {
    std::memcpy(&value_, &other.value_, sizeof value_);
    ::VariantInit(&other.value_);
  }
  unique_variant& operator=(unique_variant&& other) noexcept {
    if (this != &other) {
      reset();
      std::memcpy(&value_, &other.value_, sizeof value_);
      ::VariantInit(&other.value_);
    }
    return *this;
  }
  unique_variant(const unique_variant&) = delete;
  unique_variant& operator=(const unique_variant&) = delete;
  ~unique_variant() { reset(); }

  VARIANT* get() noexcept { return &value_; }
  const VARIANT* get() const noexcept { return &value_; }
  VARTYPE type() const noexcept { return value_.vt; }

  // Clears the held value, then hands out its address for an API that fills it.
  VARIANT* put() noexcept {
    reset();
    return &value_;
  }
  void reset() noexcept { ::VariantClear(&value_); }

  // Hands the value to the caller, who becomes responsible for clearing it.
  [[nodiscard]] VARIANT release() noexcept {
    VARIANT out;
    std::memcpy(&out, &value_, sizeof out);
    ::VariantInit(&value_);
    return out;
  }

 private:
  VARIANT value_;
};

}  // namespace tagwright::com

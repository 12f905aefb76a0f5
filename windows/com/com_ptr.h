#pragma once

#include <unknwn.h>

#include <cstddef>
#include <utility>

namespace tagwright::com {

// Holds one reference to a COM object and releases it when it goes.
template <typename Interface>
class com_ptr {
 public:
  com_ptr() noexcept = default;
  com_ptr(std::nullptr_t) noexcept {}
  com_ptr(const com_ptr& other) noexcept : pointer_(other.pointer_) { addRef(); }
  com_ptr(com_ptr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  com_ptr& operator=(com_ptr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~com_ptr() { reset(); }

  // Takes over a reference the caller already owns.
  static com_ptr adopt(Interface* pointer) noexcept {
    com_ptr result;
    result.pointer_ = pointer;
    return result;
  }
  // Takes a reference of its own.
  static com_ptr copy(Interface* pointer) noexcept {
    com_ptr result = adopt(pointer);
    result.addRef();
    return result;
  }

  Interface* get() const noexcept { return pointer_; }
  Interface* operator->() const noexcept { return pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }

  // For an API that returns a new reference through an out-parameter.
  Interface** put() noexcept {
    reset();
    return &pointer_;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  [[nodiscard]] Interface* detach() noexcept { return std::exchange(pointer_, nullptr); }
  void reset() noexcept {
    if (Interface* old = std::exchange(pointer_, nullptr)) old->Release();
  }

 private:
  void addRef() noexcept {
    if (pointer_ != nullptr) pointer_->AddRef();
  }
  Interface* pointer_ = nullptr;
};

// Asks an object for an interface; empty when the object is null or refuses.
template <typename Interface, typename Source>
com_ptr<Interface> queryInterface(Source* object) noexcept {
  com_ptr<Interface> result;
  if (object != nullptr && FAILED(object->QueryInterface(__uuidof(Interface), result.put_void()))) {
    // A refusing object should have written null; whatever it left is not a
    // reference of ours, so it is dropped without a Release.
    static_cast<void>(result.detach());
  }
  return result;
}

}  // namespace tagwright::com

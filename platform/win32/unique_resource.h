#pragma once

#include <windows.h>

#include <utility>

namespace tagwright::win32 {

// Owners of Windows resources, for every part of the Windows code (the
// platform layer, the COM server, the programs and their tests).
//
// Owns one Windows resource of a handle-like type and closes it exactly once.
// `Traits` names the handle type, its "no resource" value and how to close
// it. `put()` empties the owner and hands out the address of the handle for
// an API that returns a new resource through an out-parameter.
template <typename Traits>
class unique_any {
 public:
  using Handle = typename Traits::type;

  unique_any() noexcept = default;
  explicit unique_any(Handle handle) noexcept : handle_(handle) {}
  unique_any(unique_any&& other) noexcept : handle_(other.release()) {}
  unique_any& operator=(unique_any&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  ~unique_any() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }

  Handle* put() noexcept {
    reset();
    return &handle_;
  }
  [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Traits::invalid()); }
  void reset(Handle handle = Traits::invalid()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::invalid()) Traits::close(old);
  }

 private:
  Handle handle_ = Traits::invalid();
};

// Traits of a resource whose "no resource" value is null, closed by a
// function that takes the handle.
template <typename Handle, auto Close>
struct null_handle_traits {
  using type = Handle;
  static constexpr Handle invalid() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { static_cast<void>(Close(handle)); }
};

// Traits of a resource whose "no resource" value is INVALID_HANDLE_VALUE
// (files, devices, device information sets).
template <typename Handle, auto Close>
struct invalid_handle_traits {
  using type = Handle;
  static Handle invalid() noexcept { return static_cast<Handle>(INVALID_HANDLE_VALUE); }
  static void close(Handle handle) noexcept { static_cast<void>(Close(handle)); }
};

template <typename Handle, auto Close>
using unique_resource = unique_any<null_handle_traits<Handle, Close>>;

template <typename Handle, auto Close>
using unique_invalid_resource = unique_any<invalid_handle_traits<Handle, Close>>;

// A file or device handle from CreateFile.
using unique_file_handle = unique_invalid_resource<HANDLE, &::CloseHandle>;

}  // namespace tagwright::win32

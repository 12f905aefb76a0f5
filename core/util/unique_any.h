#pragma once

#include <utility>

namespace tagwright {

// Owns one resource of a handle-like type (a descriptor, a Windows handle, a
// C stream, a library object) and closes it exactly once. `Traits` names the
// handle type (`type`), its "no resource" value (`invalid()`) and how to
// close it (`close(handle)`). Traits are usually empty; a traits object with
// state (say, the system-call table the handle came from) is kept beside the
// handle and moves with it.
//
// `put()` empties the owner and hands out the address of the handle for an
// API that returns a new resource through an out-parameter; `release()`
// gives the handle up without closing it, for a close whose result matters.
template <typename Traits>
class unique_any {
 public:
  using Handle = typename Traits::type;

  unique_any() noexcept = default;
  explicit unique_any(Handle handle, Traits traits = Traits()) noexcept
      : handle_(handle), traits_(std::move(traits)) {}
  unique_any(unique_any&& other) noexcept : handle_(other.release()), traits_(other.traits_) {}
  unique_any& operator=(unique_any&& other) noexcept {
    if (this != &other) {
      reset(other.release());
      traits_ = other.traits_;
    }
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
  // Closes what was held, unless it is `handle` itself.
  void reset(Handle handle = Traits::invalid()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::invalid() && old != handle) traits_.close(old);
  }

 private:
  Handle handle_ = Traits::invalid();
  [[no_unique_address]] Traits traits_;
};

// Traits of a resource whose "no resource" value is null, closed by a
// function that takes the handle (its result, if any, is not wanted).
template <typename Handle, auto Close>
struct null_handle_traits {
  using type = Handle;
  static constexpr Handle invalid() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { static_cast<void>(Close(handle)); }
};

template <typename Handle, auto Close>
using unique_resource = unique_any<null_handle_traits<Handle, Close>>;

}  // namespace tagwright

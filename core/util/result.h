#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace tagwright {

// A value, or what says why there is none: a message by default, or a
// richer error (a position with its message, a kind of failure). The one
// way in this code base for a function to hand back either; a function that
// has no value to give back on success returns a Status.
template <typename T, typename E = std::string>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}  // NOLINT: a value converts implicitly

  static Result failure(E error) { return Result(Failure{std::move(error)}); }

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  // Only when ok().
  T& value() & {
    assert(ok());
    return std::get<0>(state_);
  }
  const T& value() const& {
    assert(ok());
    return std::get<0>(state_);
  }
  T&& value() && {
    assert(ok());
    return std::get<0>(std::move(state_));
  }

  // Only when !ok().
  const E& error() const {
    assert(!ok());
    return std::get<1>(state_).error;
  }

 private:
  struct Failure {
    E error;
  };
  explicit Result(Failure failure) : state_(std::move(failure)) {}

  std::variant<T, Failure> state_;
};

// Success, or the message of a failure: for calls with nothing to hand back.
class [[nodiscard]] Status {
 public:
  static Status success() { return Status(); }
  static Status failure(std::string error) { return Status(std::move(error)); }

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }

  // Only when !ok().
  const std::string& error() const {
    assert(!ok());
    return error_;
  }

 private:
  Status() = default;
  explicit Status(std::string error) : failed_(true), error_(std::move(error)) {}

  bool failed_ = false;
  std::string error_;
};

}  // namespace tagwright

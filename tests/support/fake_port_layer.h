#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/transport/port_layer.h"
#include "core/transport/sleeper.h"
#include "core/transport/user_prompt.h"

namespace tagwright::testing {

// A port layer that follows a script and records every call in order, as
// text ("open COM3", "setTimeouts 200,100,200,1000,2000", ...). Ports open
// unless told otherwise, have a printer on the line, and accept writes.
class ScriptedPortLayer final : public PortLayer {
 public:
  static constexpr std::string_view kNativeMarker = "state as found";

  // The next opens (of any name) fail with these codes, one each.
  void failNextOpens(std::vector<std::uint32_t> errors) {
    std::lock_guard<std::mutex> guard(lock_);
    openErrors_.insert(openErrors_.end(), errors.begin(), errors.end());
  }
  // Every open of `name` fails with `error`.
  void makeUnopenable(const std::string& name, std::uint32_t error) {
    std::lock_guard<std::mutex> guard(lock_);
    unopenable_[name] = error;
  }
  void makeOpenable(const std::string& name) {
    std::lock_guard<std::mutex> guard(lock_);
    unopenable_.erase(name);
  }
  // nullopt: the modem-status read fails.
  void setModemStatus(std::optional<std::uint32_t> status) {
    std::lock_guard<std::mutex> guard(lock_);
    modemStatus_ = status;
  }
  void setWritesFail(bool fail) {
    std::lock_guard<std::mutex> guard(lock_);
    writesFail_ = fail;
  }
  // Ports opened by `name` from now on stand for a mapped target.
  void mapPort(const std::string& name) {
    std::lock_guard<std::mutex> guard(lock_);
    mapped_.insert(name);
  }
  void setUsbDevicePaths(std::vector<std::string> paths) {
    std::lock_guard<std::mutex> guard(lock_);
    usbPaths_ = std::move(paths);
  }

  std::vector<std::string> calls() const {
    std::lock_guard<std::mutex> guard(lock_);
    return calls_;
  }
  // Every write, as the name of the port and the bytes.
  std::vector<std::pair<std::string, std::string>> writes() const {
    std::lock_guard<std::mutex> guard(lock_);
    return writes_;
  }
  std::size_t openPorts() const {
    std::lock_guard<std::mutex> guard(lock_);
    return open_.size();
  }
  void clearCalls() {
    std::lock_guard<std::mutex> guard(lock_);
    calls_.clear();
    writes_.clear();
  }

  PortHandle open(const std::string& name, std::uint32_t& error) override {
    std::lock_guard<std::mutex> guard(lock_);
    calls_.push_back("open " + name);
    if (!openErrors_.empty()) {
      error = openErrors_.front();
      openErrors_.pop_front();
      return kInvalidPort;
    }
    if (auto it = unopenable_.find(name); it != unopenable_.end()) {
      error = it->second;
      return kInvalidPort;
    }
    const PortHandle port = nextHandle_++;
    open_[port] = name;
    return port;
  }
  bool getTimeouts(PortHandle port, CommTimeouts& timeouts) override {
    std::lock_guard<std::mutex> guard(lock_);
    record(port, "getTimeouts");
    timeouts = CommTimeouts{1, 2, 3, 4, 5};
    return true;
  }
  bool setTimeouts(PortHandle port, const CommTimeouts& t) override {
    std::lock_guard<std::mutex> guard(lock_);
    record(port, "setTimeouts " + std::to_string(t.readIntervalTimeout) + "," +
                     std::to_string(t.readTotalTimeoutMultiplier) + "," +
                     std::to_string(t.readTotalTimeoutConstant) + "," +
                     std::to_string(t.writeTotalTimeoutMultiplier) + "," +
                     std::to_string(t.writeTotalTimeoutConstant));
    return true;
  }
  bool getModemStatus(PortHandle port, std::uint32_t& status) override {
    std::lock_guard<std::mutex> guard(lock_);
    record(port, "getModemStatus");
    if (!modemStatus_) return false;
    status = *modemStatus_;
    return true;
  }
  bool getCommState(PortHandle port, CommState& state) override {
    std::lock_guard<std::mutex> guard(lock_);
    record(port, "getCommState");
    state.baudRate = 115200;
    state.byteSize = 7;
    state.parity = 2;
    state.stopBits = 2;
    state.native = std::string(kNativeMarker);
    return true;
  }
  bool setupQueues(PortHandle port, std::uint32_t in, std::uint32_t out) override {
    std::lock_guard<std::mutex> guard(lock_);
    record(port, "setupQueues " + std::to_string(in) + "," + std::to_string(out));
    return true;
  }
  bool setCommState(PortHandle port, const CommState& s) override {
    std::lock_guard<std::mutex> guard(lock_);
    const std::string* native = std::any_cast<std::string>(&s.native);
    record(port, "setCommState " + std::to_string(s.baudRate) + "," + std::to_string(s.byteSize) +
                     "," + std::to_string(s.parity) + "," + std::to_string(s.stopBits) + "," +
                     (native != nullptr ? *native : std::string("no state")));
    return true;
  }
  bool setCommMask(PortHandle port, std::uint32_t mask) override {
    std::lock_guard<std::mutex> guard(lock_);
    record(port, "setCommMask " + std::to_string(mask));
    return true;
  }
  bool purge(PortHandle port, std::uint32_t flags) override {
    std::lock_guard<std::mutex> guard(lock_);
    record(port, "purge " + std::to_string(flags));
    return true;
  }
  bool write(PortHandle port, std::string_view bytes, std::uint32_t& written) override {
    std::lock_guard<std::mutex> guard(lock_);
    record(port, "write " + std::to_string(bytes.size()));
    if (writesFail_) return false;
    writes_.emplace_back(nameOf(port), std::string(bytes));
    written = static_cast<std::uint32_t>(bytes.size());
    return true;
  }
  bool setBreak(PortHandle port) override {
    std::lock_guard<std::mutex> guard(lock_);
    record(port, "setBreak");
    return true;
  }
  bool close(PortHandle port) override {
    std::lock_guard<std::mutex> guard(lock_);
    record(port, "close");
    return open_.erase(port) == 1;
  }
  bool isLocalPort(PortHandle port) override {
    std::lock_guard<std::mutex> guard(lock_);
    return mapped_.count(nameOf(port)) == 0;
  }
  std::vector<std::string> usbDevicePaths() override {
    std::lock_guard<std::mutex> guard(lock_);
    calls_.push_back("usbDevicePaths");
    return usbPaths_;
  }

 private:
  // A call on a handle that is not open is recorded as such, so that a test
  // sees use after close.
  void record(PortHandle port, std::string call) {
    if (open_.count(port) == 0) call += " (not open)";
    calls_.push_back(std::move(call));
  }
  std::string nameOf(PortHandle port) const {
    auto it = open_.find(port);
    return it == open_.end() ? std::string("?") : it->second;
  }

  mutable std::mutex lock_;
  std::deque<std::uint32_t> openErrors_;
  std::map<std::string, std::uint32_t> unopenable_;
  std::optional<std::uint32_t> modemStatus_ = kModemCtsOn | kModemDsrOn;
  bool writesFail_ = false;
  std::vector<std::string> usbPaths_;
  PortHandle nextHandle_ = 100;
  std::map<PortHandle, std::string> open_;
  std::set<std::string> mapped_;
  std::vector<std::string> calls_;
  std::vector<std::pair<std::string, std::string>> writes_;
};

// Records the waits instead of waiting.
class RecordingSleeper final : public Sleeper {
 public:
  void sleepFor(std::chrono::milliseconds duration) override {
    std::lock_guard<std::mutex> guard(lock_);
    sleeps_.push_back(duration);
  }
  std::vector<std::chrono::milliseconds> sleeps() const {
    std::lock_guard<std::mutex> guard(lock_);
    return sleeps_;
  }

 private:
  mutable std::mutex lock_;
  std::vector<std::chrono::milliseconds> sleeps_;
};

// Answers from a script, in order, and records each question. An optional
// action runs before an answer is given (a printer being plugged in).
class ScriptedPrompt final : public UserPrompt {
 public:
  struct Step {
    PromptAnswer answer;
    std::function<void()> before;
  };
  void answer(PromptAnswer a, std::function<void()> before = {}) {
    std::lock_guard<std::mutex> guard(lock_);
    steps_.push_back(Step{a, std::move(before)});
  }
  std::vector<std::string> questions() const {
    std::lock_guard<std::mutex> guard(lock_);
    return questions_;
  }

  // With no answer left in the script the prompt answers Ignore, so that a
  // test with a missing step ends instead of hanging.
  PromptAnswer ask(std::string_view text) override {
    Step step{PromptAnswer::Ignore, {}};
    {
      std::lock_guard<std::mutex> guard(lock_);
      questions_.emplace_back(text);
      if (!steps_.empty()) {
        step = std::move(steps_.front());
        steps_.pop_front();
      }
    }
    if (step.before) step.before();
    return step.answer;
  }

 private:
  mutable std::mutex lock_;
  std::deque<Step> steps_;
  std::vector<std::string> questions_;
};

}  // namespace tagwright::testing

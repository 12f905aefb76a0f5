#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/settings/settings_profile.h"
#include "core/transport/print_job.h"

namespace tagwright::testing {

// Records every job handed to it, in order.
class RecordingJobRunner final : public JobRunner {
 public:
  void queue(PrintJob job) override {
    std::lock_guard<std::mutex> guard(lock_);
    jobs_.push_back(std::move(job));
  }
  std::vector<PrintJob> jobs() const {
    std::lock_guard<std::mutex> guard(lock_);
    return jobs_;
  }

 private:
  mutable std::mutex lock_;
  std::vector<PrintJob> jobs_;
};

// A host profile in memory that answers the default after the colon for
// keys it does not hold, and records every call.
class MemoryProfile final : public SettingsProfile {
 public:
  std::vector<std::u16string> calls;  // "register:NAME", "read:KEY", "write:KEY=V"
  std::vector<std::pair<std::u16string, ScriptValue>> stored;
  int failReadAt = -1;  // the read with this 0-based index fails

  void registerAs(std::u16string_view name) override {
    calls.push_back(u"register:" + std::u16string(name));
  }
  bool read(std::u16string_view key, ScriptValue& value) override {
    calls.push_back(u"read:" + std::u16string(key));
    if (reads_++ == failReadAt) return false;
    auto colon = key.find(u':');
    std::u16string name(key.substr(0, colon));
    for (auto& [k, v] : stored) {
      if (k == name) {
        value = v;
        return true;
      }
    }
    std::int32_t fallback = 0;
    if (colon != std::u16string_view::npos) fallback = readLeadingDecimal(key.substr(colon + 1));
    value = ScriptValue::int32(fallback);
    return true;
  }
  void write(std::u16string_view key, std::int32_t value) override {
    std::string digits = std::to_string(value);
    calls.push_back(u"write:" + std::u16string(key) + u"=" +
                    std::u16string(digits.begin(), digits.end()));
    for (auto& [k, v] : stored) {
      if (k == key) {
        v = ScriptValue::int32(value);
        return;
      }
    }
    stored.emplace_back(std::u16string(key), ScriptValue::int32(value));
  }

 private:
  int reads_ = 0;
};

}  // namespace tagwright::testing

// The job watch as the component's print runner drives it: told after each
// job, on the worker, whether the job reached its port whole; silent once
// the watch ends.
#include "platform/win32/transport/job_watch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/transport/pending_jobs.h"
#include "platform/win32/transport/win32_print_runner.h"

namespace tagwright {
namespace {

// A mapped target per port: COM2 takes every byte, COM3 takes the first
// half of each job and then fails.
class FakeTargets final : public MappedPorts {
 public:
  class Port final : public MappedPort {
   public:
    explicit Port(bool cutShort) : cutShort_(cutShort) {}
    bool write(std::string_view bytes, std::uint32_t& written) override {
      delivery_.offered += bytes.size();
      written = static_cast<std::uint32_t>(cutShort_ ? bytes.size() / 2 : bytes.size());
      delivery_.delivered += written;
      if (cutShort_) delivery_.failure = "the printer stopped reading";
      return !cutShort_;
    }
    Delivery finish() override { return delivery_; }

   private:
    bool cutShort_;
    Delivery delivery_;
  };

  bool isMapped(std::string_view) override { return true; }
  MappedOpen open(const std::string& portName) override {
    MappedOpen opened;
    opened.mapped = true;
    opened.port = std::make_unique<Port>(portName == "COM3");
    return opened;
  }
  void reportFailure(const Delivery&) override {
    std::lock_guard<std::mutex> guard(lock);
    ++failuresTold;
  }

  std::mutex lock;
  int failuresTold = 0;
};

struct Ended {
  LONG port;
  BOOL reached;
  bool operator==(const Ended&) const = default;
};

struct Recorder {
  std::mutex lock;
  std::vector<Ended> ended;
};

void WINAPI record(void* context, LONG port, BOOL reached) {
  auto* recorder = static_cast<Recorder*>(context);
  std::lock_guard<std::mutex> guard(recorder->lock);
  recorder->ended.push_back({port, reached});
}

// Ends the watch however the test leaves.
struct WatchGuard {
  ~WatchGuard() { processJobWatch().set(nullptr, nullptr); }
};

TEST(JobWatch, TellsEachJobsEndAndWhetherItReachedItsPortWhole) {
  FakeTargets targets;
  Recorder recorder;
  const WatchGuard guard;
  processJobWatch().set(&record, &recorder);
  {
    std::unique_ptr<JobRunner> runner = makeWin32PrintRunner(::GetModuleHandleW(nullptr), &targets);
    // COM2 is index 4, COM3 index 5: whole, cut short, whole again (the
    // flag of one job must not stay with the next).
    for (std::int32_t port : {4, 5, 4}) runner->queue(PrintJob{"^L\r\nE\r\n", port});
    ASSERT_TRUE(processPendingJobs().waitUntilNone(std::chrono::seconds(20)));
  }
  EXPECT_EQ(recorder.ended, (std::vector<Ended>{{4, TRUE}, {5, FALSE}, {4, TRUE}}));
  EXPECT_EQ(targets.failuresTold, 1);

  // Once the watch has ended, jobs run as before and nothing is told.
  processJobWatch().set(nullptr, nullptr);
  {
    std::unique_ptr<JobRunner> runner = makeWin32PrintRunner(::GetModuleHandleW(nullptr), &targets);
    runner->queue(PrintJob{"^L\r\nE\r\n", 4});
    ASSERT_TRUE(processPendingJobs().waitUntilNone(std::chrono::seconds(20)));
  }
  EXPECT_EQ(recorder.ended.size(), 3u);
}

}  // namespace
}  // namespace tagwright

// How long Print keeps the script waiting while the printer's port is held
// by another opener. The port is a file standing for LPT1, locked by the
// benchmark itself the way a second program would hold it; the real POSIX
// port layer, worker and runner sit behind the add-in object. Every Print
// must return at once while its job waits in the open retry; once the port
// is released the queued jobs are written, and their bytes are checked.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/addin/add_in.h"
#include "platform/posix/iconv_code_pages.h"
#include "platform/posix/transport/posix_print_runner.h"
#include "platform/posix/transport/prompts.h"
#include "platform/posix/unique_resource.h"

namespace {

using namespace tagwright;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class LptFile {
 public:
  LptFile() {
    std::string pattern = (fs::temp_directory_path() / "tagwright-bench-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    path_ = dir_ / "lpt1";
    std::ofstream(path_).flush();
  }
  ~LptFile() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path dir_;
  fs::path path_;
};

// Holds the port the way another program would, until reset.
unique_fd holdPort(const fs::path& path) {
  unique_fd fd(::open(path.c_str(), O_RDWR | O_CLOEXEC));
  if (!fd || ::flock(fd.get(), LOCK_EX) != 0) throw std::runtime_error("cannot hold the port");
  return fd;
}

void call(AddIn& addIn, Method method, ScriptArgs args) {
  addIn.callAsProc(static_cast<std::int32_t>(method), args);
}

void PrintWhilePortIsHeld(benchmark::State& state, bool held) {
  LptFile lpt;
  IconvCodePages codePages;
  FixedPrompt prompt(PromptAnswer::Abort, codePages);
  PrintAbortState abort;
  DeviceMap devices;
  devices.assign("LPT1", lpt.path().string());
  auto runner = makePosixPrintRunner(std::move(devices), prompt, abort);
  AddIn addIn(AddInServices{codePages, *runner, abort});
  addIn.init(nullptr);
  addIn.setProperty(static_cast<std::int32_t>(Property::NumberPort), ScriptValue::int32(0));
  call(addIn, Method::StartLabel, {});
  call(addIn, Method::PutText,
       {ScriptValue::int32(10), ScriptValue::int32(20), ScriptValue::int32(2),
        ScriptValue::int32(2), ScriptValue::int32(1), ScriptValue::int32(0),
        ScriptValue::text(u"C"), ScriptValue::text(u"Товар: молоко 1 л")});
  call(addIn, Method::PutBarcode,
       {ScriptValue::text(u"E30"), ScriptValue::int32(10), ScriptValue::int32(80),
        ScriptValue::int32(60), ScriptValue::int32(0), ScriptValue::text(u"4607001234567")});

  unique_fd holder;
  if (held) holder = holdPort(lpt.path());

  const ScriptArgs oneCopy{ScriptValue::int32(1)};
  std::vector<double> micros;
  micros.reserve(static_cast<std::size_t>(state.max_iterations));
  for (auto _ : state) {
    ScriptValue result;
    const auto start = Clock::now();
    addIn.callAsFunc(static_cast<std::int32_t>(Method::Print), result, oneCopy);
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    benchmark::DoNotOptimize(result);
  }
  const auto pendingWhileHeld = static_cast<double>(processPendingJobs().count());

  const auto releasedAt = Clock::now();
  holder.reset();
  runner->waitUntilIdle();
  const double drainMs =
      std::chrono::duration<double, std::milli>(Clock::now() - releasedAt).count();

  // Every job must have reached the port, whole: one test byte and the job
  // text each.
  const auto tally = runner->tally();
  const auto size = fs::file_size(lpt.path());
  if (tally.written != micros.size() || size % micros.size() != 0) {
    state.SkipWithError("jobs were lost or torn");
  }
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
  state.counters["max_us"] = micros.back();
  state.counters["pending_at_end"] = pendingWhileHeld;
  state.counters["drain_ms"] = drainMs;
  state.counters["written"] = static_cast<double>(tally.written);
}

void BM_PrintWhilePortIsHeld(benchmark::State& state) { PrintWhilePortIsHeld(state, true); }
void BM_PrintWhilePortIsFree(benchmark::State& state) { PrintWhilePortIsHeld(state, false); }

// A fixed count keeps the queue of waiting jobs bounded.
BENCHMARK(BM_PrintWhilePortIsHeld)->Iterations(5000)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrintWhilePortIsFree)->Iterations(5000)->Repetitions(5)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

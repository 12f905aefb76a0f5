// Composing many labels into one job: StartLabel, eight elements and
// PrintToBuff per label, then one Print. Time and memory must grow linearly
// with the number of labels.
#include <benchmark/benchmark.h>

#include <string>

#include "core/addin/add_in.h"
#include "platform/posix/iconv_code_pages.h"

namespace tagwright {
namespace {

class DiscardingRunner final : public JobRunner {
 public:
  void queue(PrintJob job) override { lastJobBytes = job.text.size(); }
  std::size_t lastJobBytes = 0;
};

ScriptValue I(std::int32_t v) { return ScriptValue::int32(v); }
ScriptValue T(const char16_t* v) { return ScriptValue::text(v); }

void ComposeLabels(benchmark::State& state) {
  IconvCodePages codePages;
  const auto labels = static_cast<int>(state.range(0));
  const ScriptArgs text = {I(10), I(10), I(1), I(1), I(1), I(0), T(u"A"), T(u"Цена 199.00")};
  const ScriptArgs loaded = {I(10), I(40), I(1), I(1), I(0), I(0), T(u"B"), T(u"Молоко 1 л")};
  const ScriptArgs barcode = {T(u"1"), I(10), I(80), I(60), I(0), T(u"4600000000017")};
  const ScriptArgs pdf = {I(200), I(10), I(2), I(6), I(10), I(4), I(2), T(u"ORDER-1234567")};
  const ScriptArgs box = {I(0), I(0), I(340), I(200), I(2), I(2)};
  const ScriptArgs invers = {I(0), I(180), I(340), I(20)};
  const ScriptArgs image = {I(300), I(150), T(u"LOGO")};
  const ScriptArgs copies = {I(1)};
  std::size_t jobBytes = 0;
  std::size_t lines = 0;
  for (auto _ : state) {
    DiscardingRunner runner;
    PrintAbortState abort;
    AddIn addIn{AddInServices{codePages, runner, abort}};
    ScriptValue result;
    for (int i = 0; i < labels; ++i) {
      addIn.callAsProc(0, {});
      addIn.callAsProc(2, text);
      addIn.callAsProc(6, loaded);
      addIn.callAsProc(1, barcode);
      addIn.callAsProc(9, pdf);
      addIn.callAsProc(3, box);
      addIn.callAsProc(4, invers);
      addIn.callAsProc(8, image);
      addIn.callAsProc(2, text);
      addIn.callAsFunc(7, result, copies);
    }
    addIn.callAsFunc(5, result, {I(0)});
    jobBytes = runner.lastJobBytes;
    benchmark::DoNotOptimize(jobBytes);
  }
  // Twelve header lines, ^C, ^L, eight elements and E make 23 lines a label.
  lines = static_cast<std::size_t>(labels) * 23;
  state.counters["labels_per_s"] = benchmark::Counter(
      static_cast<double>(labels), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["lines_per_s"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["job_bytes_per_label"] =
      static_cast<double>(jobBytes) / static_cast<double>(labels);
  state.SetComplexityN(labels);
}

BENCHMARK(ComposeLabels)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace tagwright

BENCHMARK_MAIN();

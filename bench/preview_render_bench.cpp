// Drawing labels into pictures: the example label (58 x 40 mm: a text, a
// Code 128 barcode, a box) at 203 dpi, a 100 x 150 mm shipping label
// (several text lines, Code 128, PDF417, boxes), and jobs of N example
// labels, whose time must grow linearly with N. One previewer renders
// every iteration, as `tagwright preview` renders every job of a run: the
// font is opened once and its glyphs are rendered once.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <string>

#include "preview/preview.h"

namespace tagwright::preview {
namespace {

const std::string kSetUp = "^Q40,3\r^W58\r^S4\r^AD\r^H10\r^R0\r~Q+0\r^O0\r^D0\r^E0\r^P1\r~R105\r";
const std::string kExampleLabel =
    "^C1\r^L\rAC,20,20,1,1,1,0,Tagwright test label\rBQ,40,70,2,4,80,0,1,TW-000123\r"
    "R10,10,450,300,2,2\rE\r";
const std::string kShippingJob =
    "^Q150,3\r^W100\r^S4\r^AT\r^H12\r^R0\r~Q+0\r^O0\r^D0\r^E0\r^P1\r~R105\r^C1\r^L\r"
    "AD,40,30,1,1,1,0,FROM: Tagwright Logistics, Dock 4\r"
    "AC,40,75,1,1,1,0,Harbour Street 1, 20457 Hamburg\r"
    "AE,40,130,1,1,1,0,TO: ACME Stores, 12 Harbour Road\r"
    "AD,40,180,1,1,1,0,Receiving, Gate 7, Springfield\r"
    "R30,20,770,240,2,2\r"
    "BQ,60,280,3,6,160,0,1,1Z999AA10123456784\r"
    "R30,260,770,500,2,2\r"
    "P60,540,3,9,10,6,4,SHIP|1Z999AA10123456784|2.4KG|ACME\r"
    "AC,60,900,1,1,1,0,Parcel 1 of 1\r"
    "AH,420,880,1,1,1,0,2.4 kg\r"
    "R30,860,770,1170,3,3\rE\r";

// Minor page faults of the process so far: the kernel's work of handing
// out fresh memory, which a job that keeps all its pictures pays per label.
double minorPageFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_minflt);
}

PreviewOptions at203dpi() {
  PreviewOptions options;
  options.dotsPerMm = 8;
  return options;
}

// Fails the benchmark when the job does not render what it should, so
// that a fast time is never a time for nothing drawn.
bool rendered(benchmark::State& state, const JobPreview& preview, std::size_t labels) {
  if (preview.labels.size() != labels) {
    state.SkipWithError("wrong number of labels");
    return false;
  }
  for (const LabelPicture& label : preview.labels) {
    if (label.image.empty() || label.image.blackCount() == 0) {
      state.SkipWithError("a label drew nothing");
      return false;
    }
    for (const PreviewNote& note : label.notes) {
      if (note.text.find("not drawn") != std::string::npos) {
        state.SkipWithError(note.text.c_str());
        return false;
      }
    }
  }
  return true;
}

void ExampleLabel(benchmark::State& state) {
  Previewer previewer(at203dpi());
  const std::string job = kSetUp + kExampleLabel;
  if (!rendered(state, previewer.renderJob(job), 1)) return;
  for (auto _ : state) {
    JobPreview preview = previewer.renderJob(job);
    benchmark::DoNotOptimize(preview.labels.data());
  }
}
BENCHMARK(ExampleLabel)->Unit(benchmark::kMicrosecond);

void ShippingLabel(benchmark::State& state) {
  Previewer previewer(at203dpi());
  if (!rendered(state, previewer.renderJob(kShippingJob), 1)) return;
  for (auto _ : state) {
    JobPreview preview = previewer.renderJob(kShippingJob);
    benchmark::DoNotOptimize(preview.labels.data());
  }
}
BENCHMARK(ShippingLabel)->Unit(benchmark::kMicrosecond);

// N example labels in one job; the per-label counter must stay flat.
void JobOfLabels(benchmark::State& state) {
  const auto labels = static_cast<std::size_t>(state.range(0));
  std::string job = kSetUp;
  for (std::size_t i = 0; i < labels; ++i) job += kExampleLabel;
  Previewer previewer(at203dpi());
  if (!rendered(state, previewer.renderJob(job), labels)) return;
  const double faultsBefore = minorPageFaults();
  for (auto _ : state) {
    JobPreview preview = previewer.renderJob(job);
    benchmark::DoNotOptimize(preview.labels.data());
  }
  state.counters["faults_per_label"] =
      (minorPageFaults() - faultsBefore) /
      (static_cast<double>(state.iterations()) * static_cast<double>(labels));
  state.counters["per_label"] = benchmark::Counter(
      static_cast<double>(labels),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(JobOfLabels)->Arg(1)->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);

// The same jobs handed over label by label (as a caller that writes each
// picture and lets it go): one label's memory at a time.
void JobOfLabelsOneAtATime(benchmark::State& state) {
  const auto labels = static_cast<std::size_t>(state.range(0));
  std::string job = kSetUp;
  for (std::size_t i = 0; i < labels; ++i) job += kExampleLabel;
  Previewer previewer(at203dpi());
  if (!rendered(state, previewer.renderJob(job), labels)) return;
  std::int64_t black = 0;
  const double faultsBefore = minorPageFaults();
  for (auto _ : state) {
    std::vector<PreviewNote> notes = previewer.renderEachLabel(
        job, [&](LabelPicture&& label) { black += label.image.row(0)[20]; });
    benchmark::DoNotOptimize(notes.data());
  }
  benchmark::DoNotOptimize(black);
  state.counters["faults_per_label"] =
      (minorPageFaults() - faultsBefore) /
      (static_cast<double>(state.iterations()) * static_cast<double>(labels));
  state.counters["per_label"] = benchmark::Counter(
      static_cast<double>(labels),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(JobOfLabelsOneAtATime)->Arg(1)->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tagwright::preview

BENCHMARK_MAIN();

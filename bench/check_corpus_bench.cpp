// `tagwright check` over the whole scenario corpus in one command, as an
// editor would run it on every save: the command's set-up (code pages,
// font, barcode library) and every script read, run through the component
// and checked. It must stay well under a second.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/app/linked_app.h"

namespace tagwright::cli {
namespace {

std::vector<std::string> corpusScripts() {
  std::vector<std::string> scripts;
  for (const auto& entry : std::filesystem::directory_iterator(TAGWRIGHT_SCENARIOS_DIR)) {
    if (entry.path().extension() == ".tws") scripts.push_back(entry.path().string());
  }
  std::sort(scripts.begin(), scripts.end());
  return scripts;
}

void CheckScenarioCorpus(benchmark::State& state) {
  std::string folder =
      (std::filesystem::temp_directory_path() / "tagwright-check-bench-XXXXXX").string();
  ::mkdtemp(folder.data());
  const std::vector<std::string> scripts = corpusScripts();
  std::vector<std::string> args = {"check", "--profile", folder + "/profile"};
  args.insert(args.end(), scripts.begin(), scripts.end());
  std::size_t findings = 0;
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    benchmark::DoNotOptimize(runLinkedProgram(args, out, err));
    const std::string report = out.str();
    findings = static_cast<std::size_t>(std::count(report.begin(), report.end(), '\n')) - 1;
  }
  state.counters["scripts"] = static_cast<double>(scripts.size());
  state.counters["findings"] = static_cast<double>(findings);
  std::filesystem::remove_all(folder);
}
BENCHMARK(CheckScenarioCorpus)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tagwright::cli

BENCHMARK_MAIN();

// The designer's render of the example label (examples/first_label.tws):
// the script through the linked component with the check, the label drawn
// and made a PNG (the workshop alone), and the same as the page asks for it,
// an HTTP request to the server on 127.0.0.1 and its JSON answer.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "cli/app/command_options.h"
#include "cli/app/component_back_end.h"
#include "cli/app/linked_app.h"
#include "cli/app/linked_workshop.h"
#include "designer/designer_server.h"

namespace {

using namespace tagwright;

std::string exampleLabel() {
  std::ifstream in(TAGWRIGHT_EXAMPLES_DIR "/first_label.tws", std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

struct Designer {
  Designer() {
    options.profile = (std::filesystem::temp_directory_path() / "designer-bench-profile").string();
    workshop = cli::makeLinkedWorkshop(options, *backEnd, 16LL * 1024 * 1024);
  }
  cli::ServeOptions options;
  std::unique_ptr<cli::ComponentBackEnd> backEnd = cli::makeLinkedBackEnd();
  std::unique_ptr<designer::LabelWorkshop> workshop;
  const std::string script = exampleLabel();
};

void BM_WorkshopRender(benchmark::State& state) {
  Designer d;
  for (auto _ : state) {
    designer::Rendering r = d.workshop->render(d.script);
    if (r.labels.size() != 1 || r.labels.front().png.empty()) {
      state.SkipWithError("the example label was not drawn");
      break;
    }
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_WorkshopRender)->Unit(benchmark::kMicrosecond);

void BM_ServerRender(benchmark::State& state) {
  Designer d;
  designer::DesignerSettings settings;
  settings.token = "0123456789abcdef0123456789abcdef";
  designer::DesignerServer server(settings, *d.workshop, nullptr);
  const Result<int> port = server.bind();
  if (!port) {
    state.SkipWithError(port.error().c_str());
    return;
  }
  std::thread serving([&] { server.run(); });
  httplib::Client client("127.0.0.1", port.value());
  const std::string host = "127.0.0.1:" + std::to_string(port.value());
  const httplib::Headers headers{{"X-Tagwright-Token", settings.token},
                                 {"Origin", "http://" + host}};
  for (auto _ : state) {
    httplib::Result answer = client.Post("/api/render", headers, d.script, "text/plain");
    if (!answer || answer->status != 200) {
      state.SkipWithError("the server did not answer 200");
      break;
    }
    benchmark::DoNotOptimize(answer->body);
  }
  server.stop();
  serving.join();
}
BENCHMARK(BM_ServerRender)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

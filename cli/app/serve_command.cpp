#include "cli/app/serve_command.h"

#include <thread>

#include "cli/app/exit_codes.h"
#include "cli/app/linked_workshop.h"
#include "cli/app/serve_stop.h"
#include "designer/designer_server.h"
#include "designer/request_guard.h"

namespace tagwright::cli {
namespace {

// The largest label the designer draws: a 104 x 1000 mm label at 300 dpi
// is 15 M dots; a page asking for more is answered without a picture.
constexpr long long kMaxLabelDots = 16LL * 1024 * 1024;

}  // namespace

int serveCommand(const ServeOptions& options, ComponentBackEnd& backEnd, std::ostream& out,
                 std::ostream& err) {
  std::optional<designer::ScriptDocument> document;
  if (options.file) {
    Result<designer::ScriptDocument> loaded = designer::ScriptDocument::load(*options.file);
    if (!loaded) {
      err << "tagwright: " << loaded.error() << '\n';
      return kExitUsage;
    }
    document.emplace(std::move(loaded).value());
  }
  if (!profilePath(options.profile, backEnd)) {
    err << "tagwright: no settings profile: give --profile FILE (" << backEnd.profileVariable()
        << " is not set)\n";
    return kExitUsage;
  }
  std::unique_ptr<designer::LabelWorkshop> workshop =
      makeLinkedWorkshop(options, backEnd, kMaxLabelDots);

  designer::DesignerSettings settings;
  settings.port = options.port.value_or(0);
  settings.token = designer::makeToken();
  settings.printTarget = printTargets(options.delivery.ports.devices);
  settings.dotsPerMm = options.drawing.dotsPerMm;

  ServeStop stop;  // before the server starts its threads
  if (!stop.ready()) {
    err << "tagwright: serve: cannot wait for Ctrl+C\n";
    return kExitUsage;
  }
  designer::DesignerServer server(settings, *workshop, document ? &*document : nullptr);
  Result<int> bound = server.bind();
  if (!bound) {
    err << "tagwright: " << bound.error() << '\n';
    return kExitUsage;
  }
  out << "tagwright serve: open " << server.address() << '\n'
      << "  (stop with Ctrl+C)" << std::endl;
  std::thread serving([&] {
    server.run();
    stop.serverEnded();
  });
  const bool asked = stop.wait();
  server.stop();
  serving.join();
  if (asked) out << "tagwright serve: stopped\n";
  return kExitOk;
}

}  // namespace tagwright::cli

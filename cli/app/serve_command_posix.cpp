#include <pthread.h>
#include <signal.h>

#include <thread>

#include "cli/app/exit_codes.h"
#include "cli/app/linked_workshop.h"
#include "cli/app/serve_command.h"
#include "designer/designer_server.h"
#include "designer/request_guard.h"

namespace tagwright::cli {
namespace {

// The largest label the designer draws: a 104 x 1000 mm label at 300 dpi
// is 15 M dots; a page asking for more is answered without a picture.
constexpr long long kMaxLabelDots = 16LL * 1024 * 1024;

// SIGINT and SIGTERM, held back from every thread and taken by one that
// stops the server: httplib's threads then never see a signal.
class StopSignals {
 public:
  StopSignals() {
    sigemptyset(&set_);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    sigaddset(&set_, SIGUSR1);  // the server ended by itself: the waiter's cue to go
    pthread_sigmask(SIG_BLOCK, &set_, &previous_);
  }
  // Takes what is still pending (the server's own cue, sent as it ended)
  // before the signals are let through again.
  ~StopSignals() {
    const timespec now{0, 0};
    while (sigtimedwait(&set_, nullptr, &now) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Waits for a signal; the one taken.
  int wait() const {
    int taken = 0;
    sigwait(&set_, &taken);
    return taken;
  }

 private:
  sigset_t set_;
  sigset_t previous_;
};

std::string printTarget(const DeviceList& devices) {
  std::string text;
  for (const auto& [port, target] : devices) {
    if (!text.empty()) text += ", ";
    text += port + "=" + target;
  }
  return text;
}

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
  settings.printTarget = printTarget(options.delivery.ports.devices);
  settings.dotsPerMm = options.drawing.dotsPerMm;

  StopSignals signals;  // before the server starts its threads
  designer::DesignerServer server(settings, *workshop, document ? &*document : nullptr);
  Result<int> bound = server.bind();
  if (!bound) {
    err << "tagwright: " << bound.error() << '\n';
    return kExitUsage;
  }
  out << "tagwright serve: open " << server.address() << '\n'
      << "  (stop with Ctrl+C)" << std::endl;
  const pthread_t self = pthread_self();
  std::thread serving([&] {
    server.run();
    pthread_kill(self, SIGUSR1);
  });
  const int taken = signals.wait();
  server.stop();
  serving.join();
  if (taken != SIGUSR1) out << "tagwright serve: stopped\n";
  return kExitOk;
}

}  // namespace tagwright::cli

#include "cli/app/linked_app.h"

#include <cstdlib>
#include <memory>

#include "cli/app/component_back_end.h"
#include "cli/app/port_sink.h"
#include "cli/app/program.h"
#include "cli/commands/devices_listing.h"
#include "platform/posix/transport/device_listing.h"
#include "platform/posix/transport/print_server.h"
#include "cli/app/linked_core.h"
#include "cli/app/linked_session.h"
#include "cli/output/output_file_sink.h"
#include "cli/commands/printer_command.h"
#include "cli/app/job_confirmer.h"
#include "cli/app/serve_command.h"
#include "cli/commands/status_command.h"
#include "platform/posix/iconv_code_pages.h"

namespace tagwright::cli {
namespace {

class LinkedBackEnd final : public ComponentBackEnd {
 public:
  // $XDG_CONFIG_HOME/tagwright/profile, else ~/.config/tagwright/profile.
  std::optional<std::string> defaultProfilePath() const override {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
      return std::string(config) + "/tagwright/profile";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
      return std::string(home) + "/.config/tagwright/profile";
    }
    return std::nullopt;
  }
  std::string_view profileVariable() const override { return "HOME"; }

  // Beside the profile: $XDG_CONFIG_HOME/tagwright/devices, else
  // ~/.config/tagwright/devices; used by run and status under --device.
  DeviceMapStore* deviceMapStore() const override {
    if (!devices_) {
      const std::optional<std::string> profile = defaultProfilePath();
      if (!profile) return nullptr;
      devices_ = std::make_unique<FileDeviceMapStore>(
          profile->substr(0, profile->size() - std::string_view("profile").size()) + "devices");
    }
    return devices_.get();
  }
  bool runUsesSavedMap() const override { return true; }

  // Every option is this program's own; the code pages can still be
  // wrong, and they are set up before any script is read, and --confirm
  // needs ports that answer.
  Status checkRunOptions(const RunOptions& options) override {
    core_.pagesFor(options.drawing.pages);
    return canConfirm(options.delivery);
  }

  Result<std::unique_ptr<ComponentSession>> open(const CodePageNames& names, FileProfile* profile,
                                                 std::ostream& errors,
                                                 JobRouting routing) override {
    const CodePages& pages = core_.pagesFor(names);
    std::unique_ptr<JobSink> sink;
    if (!profile || !routing.delivery) {
      // Nothing to send: a preview, a check, or the catalogue.
    } else if (routing.delivery->output) {
      sink = std::make_unique<OutputFileSink>(*routing.delivery->output, errors);
    } else {
      Result<std::unique_ptr<JobSink>> ports = makePortSink(*routing.delivery, pages, errors);
      if (!ports) return Result<std::unique_ptr<ComponentSession>>::failure(ports.error());
      sink = std::move(ports).value();
    }
    return openLinkedSession(pages, profile, std::move(sink), routing.preview);
  }

  std::unique_ptr<CodePages> codePages(const std::string& ansi,
                                       const std::string& oem) const override {
    return core_.codePages(ansi, oem);
  }

  Result<std::string> listDevices(const DevicesOptions& options) const override {
    // A print server that does not answer at once is reported, not waited for.
    const auto timeout = options.connectTimeout.value_or(std::chrono::milliseconds(2000));
    return devicesListing(listPrintableDevices(), listPrintServerQueues("", 0, timeout));
  }

  int printerStatus(const StatusOptions& options, std::ostream& out, std::ostream& err) override {
    return statusCommand(options, out, err);
  }

  int designer(const ServeOptions& options, std::ostream& out, std::ostream& err) override {
    return serveCommand(options, *this, out, err);
  }

  int virtualPrinter(const printer::PrinterOptions& options, std::ostream& out,
                     std::ostream& err) override {
    return printer::printerCommand(options, out, err);
  }

  Result<std::unique_ptr<LabelPreview>> makePreview(const DrawingOptions& drawing,
                                                    const std::string& folderOrFile,
                                                    std::ostream& out,
                                                    std::ostream& err) const override {
    return core_.makePreview(drawing, folderOrFile, out, err);
  }

  Result<std::unique_ptr<CheckWatch>> makeCheckWatch(const DrawingOptions& drawing) override {
    return core_.makeCheckWatch(drawing);
  }

 private:
  mutable std::unique_ptr<FileDeviceMapStore> devices_;  // made on first use
  LinkedCore core_{[](const std::string& ansi, const std::string& oem) {
    return std::unique_ptr<CodePages>(std::make_unique<IconvCodePages>(ansi, oem));
  }};
};

}  // namespace

std::unique_ptr<ComponentBackEnd> makeLinkedBackEnd() { return std::make_unique<LinkedBackEnd>(); }

int runLinkedProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  LinkedBackEnd backEnd;
  return runProgram(args, backEnd, out, err);
}

}  // namespace tagwright::cli

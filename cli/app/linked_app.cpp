#include "cli/app/linked_app.h"

#include <cstdlib>
#include <memory>

#include "cli/app/component_back_end.h"
#include "cli/app/port_sink.h"
#include "cli/app/program.h"
#include "cli/check/check_resources.h"
#include "cli/check/component_watch.h"
#include "cli/commands/devices_listing.h"
#include "cli/host/linked_script_host.h"
#include "cli/output/output_file_sink.h"
#include "cli/output/preview_sink.h"
#include "cli/preview/picture_files.h"
#include "cli/printer/printer_command.h"
#include "cli/status/job_confirmer.h"
#include "cli/status/status_command.h"
#include "core/addin/add_in.h"
#include "core/transport/print_abort.h"
#include "platform/posix/iconv_code_pages.h"

namespace tagwright::cli {
namespace {

// The catalogue listing prints nothing.
class NoJobs final : public JobSink {
 public:
  void queue(PrintJob) override {}
  JobTally finish() override { return {}; }
};

// The component linked in, its jobs going to `sink`. Members are destroyed
// in reverse order: the add-in before the sink it hands jobs to.
class LinkedSession final : public ComponentSession {
 public:
  LinkedSession(const CodePages& codePages, std::unique_ptr<JobSink> sink, FileProfile* profile)
      : sink_(std::move(sink)),
        addIn_(std::make_unique<AddIn>(AddInServices{codePages, *sink_, processPrintAbort()})),
        host_(std::make_unique<LinkedScriptHost>(*addIn_, profile)) {}

  ScriptHost& host() override { return *host_; }
  void scriptStarting(const std::string& file) override { sink_->scriptStarting(file); }
  const AddIn* linkedComponent() const override { return addIn_.get(); }
  JobTally waitForJobs() override {
    host_.reset();
    addIn_.reset();
    return sink_->finish();
  }

 private:
  std::unique_ptr<JobSink> sink_;
  std::unique_ptr<AddIn> addIn_;
  std::unique_ptr<LinkedScriptHost> host_;
};

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

  // Every option is this program's own; the code pages can still be
  // wrong, and they are set up before any script is read, and --confirm
  // needs ports that answer.
  Status checkRunOptions(const RunOptions& options) override {
    pagesFor(options.drawing.pages);
    return canConfirm(options.delivery);
  }

  Result<std::unique_ptr<ComponentSession>> open(const CodePageNames& names, FileProfile* profile,
                                                 std::ostream& errors,
                                                 JobRouting routing) override {
    const CodePages& pages = pagesFor(names);
    std::unique_ptr<JobSink> sink;
    if (!profile) {
      sink = std::make_unique<NoJobs>();
    } else if (!routing.delivery) {
      // Nothing to send: the preview below takes every job.
    } else if (routing.delivery->output) {
      sink = std::make_unique<OutputFileSink>(*routing.delivery->output, errors);
    } else {
      Result<std::unique_ptr<JobSink>> ports = makePortSink(*routing.delivery, pages, errors);
      if (!ports) return Result<std::unique_ptr<ComponentSession>>::failure(ports.error());
      sink = std::move(ports).value();
    }
    if (profile && routing.preview) {
      sink = std::make_unique<PreviewSink>(*routing.preview, std::move(sink));
    }
    if (!sink) sink = std::make_unique<NoJobs>();
    return std::unique_ptr<ComponentSession>(
        std::make_unique<LinkedSession>(pages, std::move(sink), profile));
  }

  std::unique_ptr<CodePages> codePages(const std::string& ansi,
                                       const std::string& oem) const override {
    return std::make_unique<IconvCodePages>(ansi, oem);
  }

  Result<std::string> listDevices(const DevicesOptions& options) const override {
    // A print server that does not answer at once is reported, not waited for.
    const auto timeout = options.connectTimeout.value_or(std::chrono::milliseconds(2000));
    return devicesListing(listPrintableDevices(), listPrintServerQueues("", 0, timeout));
  }

  int printerStatus(const StatusOptions& options, std::ostream& out, std::ostream& err) override {
    return statusCommand(options, out, err);
  }

  int virtualPrinter(const printer::PrinterOptions& options, std::ostream& out,
                     std::ostream& err) override {
    return printer::printerCommand(options, out, err);
  }

  Result<std::unique_ptr<LabelPreview>> makePreview(const DrawingOptions& drawing,
                                                    const std::string& folderOrFile,
                                                    std::ostream& out,
                                                    std::ostream& err) const override {
    return makePictureFiles(drawing, folderOrFile, out, err);
  }

  Result<std::unique_ptr<CheckWatch>> makeCheckWatch(const DrawingOptions& drawing) override {
    if (!checkResources_) {
      checkResources_ = std::make_unique<CheckResources>(drawing, pagesFor(drawing.pages));
    }
    return std::unique_ptr<CheckWatch>(std::make_unique<ComponentWatch>(*checkResources_));
  }

 private:
  // The first names given count for the whole command.
  const CodePages& pagesFor(const CodePageNames& names) {
    if (!pages_) pages_ = std::make_unique<IconvCodePages>(names.ansi, names.oem);
    return *pages_;
  }

  // Outlives every session: the add-in converts through it until it is gone.
  std::unique_ptr<IconvCodePages> pages_;
  // Made for the first script a check command checks, kept for the others.
  std::unique_ptr<CheckResources> checkResources_;
};

}  // namespace

int runLinkedProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  LinkedBackEnd backEnd;
  return runProgram(args, backEnd, out, err);
}

}  // namespace tagwright::cli

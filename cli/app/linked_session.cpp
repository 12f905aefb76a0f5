#include "cli/app/linked_session.h"

#include "cli/host/linked_script_host.h"
#include "cli/output/preview_sink.h"
#include "core/addin/add_in.h"
#include "core/transport/print_abort.h"

namespace tagwright::cli {
namespace {

// Takes every job and sends none.
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

}  // namespace

std::unique_ptr<ComponentSession> openLinkedSession(const CodePages& pages, FileProfile* profile,
                                                    std::unique_ptr<JobSink> sink,
                                                    LabelPreview* preview) {
  if (!profile) {
    sink = std::make_unique<NoJobs>();
  } else if (preview) {
    sink = std::make_unique<PreviewSink>(*preview, std::move(sink));
  }
  if (!sink) sink = std::make_unique<NoJobs>();
  return std::make_unique<LinkedSession>(pages, std::move(sink), profile);
}

}  // namespace tagwright::cli

#include <cstdio>
#include <memory>

#include "cli/app/port_sink.h"
#include "core/transport/print_abort.h"
#include "platform/posix/transport/device_map.h"
#include "platform/posix/transport/posix_print_runner.h"
#include "platform/posix/transport/prompts.h"

namespace tagwright::cli {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Jobs go to the ports through the component's print worker on one thread
// of their own. Members are destroyed in reverse order: the runner (which
// finishes its jobs) before the prompt it asks and the terminal it asks on.
class PortJobSink final : public JobSink {
 public:
  PortJobSink(UniqueFile terminal, std::unique_ptr<UserPrompt> prompt, DeviceMap devices)
      : terminal_(std::move(terminal)),
        prompt_(std::move(prompt)),
        runner_(makePosixPrintRunner(std::move(devices), *prompt_, processPrintAbort())) {}

  void queue(PrintJob job) override { runner_->queue(std::move(job)); }

  JobTally finish() override {
    runner_->finish();
    return runner_->tally();
  }

 private:
  UniqueFile terminal_;
  std::unique_ptr<UserPrompt> prompt_;
  std::unique_ptr<ThreadJobRunner> runner_;
};

PromptAnswer answerFor(PortErrorPolicy policy) {
  switch (policy) {
    case PortErrorPolicy::Retry: return PromptAnswer::Retry;
    case PortErrorPolicy::Ignore: return PromptAnswer::Ignore;
    case PortErrorPolicy::Abort:
    case PortErrorPolicy::Ask: break;
  }
  return PromptAnswer::Abort;
}

}  // namespace

Result<std::unique_ptr<JobSink>> makePortSink(const Options& options, const CodePages& codePages,
                                              std::ostream&) {
  DeviceMap devices;
  for (const auto& [port, path] : options.devices) {
    if (!devices.assign(port, path)) {
      return Result<std::unique_ptr<JobSink>>::failure("unknown port " + port);
    }
  }
  UniqueFile terminal;
  std::unique_ptr<UserPrompt> prompt;
  if (options.onPortError && *options.onPortError != PortErrorPolicy::Ask) {
    prompt = std::make_unique<FixedPrompt>(answerFor(*options.onPortError), codePages, stderr);
  } else {
    // The question goes to the controlling terminal, so that it works even
    // when the script comes from standard input. A terminal that closes
    // before an answer counts as Abort. With no terminal at all every port
    // failure is answered Abort.
    terminal.reset(std::fopen("/dev/tty", "r+"));
    if (terminal) {
      prompt = std::make_unique<TerminalPrompt>(codePages, terminal.get(), terminal.get(),
                                                PromptAnswer::Abort);
    } else {
      prompt = std::make_unique<FixedPrompt>(PromptAnswer::Abort, codePages, stderr);
    }
  }
  return std::unique_ptr<JobSink>(
      std::make_unique<PortJobSink>(std::move(terminal), std::move(prompt), std::move(devices)));
}

}  // namespace tagwright::cli

#include <unistd.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>

#include "cli/app/delivery_report.h"
#include "cli/app/port_sink.h"
#include "cli/app/job_confirmer.h"
#include "cli/commands/status_command.h"
#include "cli/app/progress_meter.h"
#include "core/transport/print_abort.h"
#include "platform/posix/transport/cups_address.h"
#include "core/util/c_file.h"
#include "core/transport/device_map.h"
#include "core/transport/network_address.h"
#include "platform/posix/transport/posix_print_runner.h"
#include "platform/posix/transport/prompts.h"

namespace tagwright::cli {
namespace {

// Lines from the print worker's thread, one whole line at a time.
class MessageLines {
 public:
  explicit MessageLines(std::ostream& err) : err_(err) {}
  void line(const std::string& text) {
    std::lock_guard<std::mutex> guard(lock_);
    err_ << "tagwright: " << text << '\n' << std::flush;
  }

 private:
  std::ostream& err_;
  std::mutex lock_;
};

// Jobs go to the ports through the component's print worker on one thread
// of their own; each job is checked against what its port delivered.
// Members are destroyed in reverse order: the runner (which finishes its
// jobs) before the prompt, the progress line and the messages it uses.
class PortJobSink final : public JobSink {
 public:
  PortJobSink(unique_c_file terminal, std::unique_ptr<UserPrompt> prompt,
              std::unique_ptr<TransferProgress> progress, PosixPortLayer::Options ports,
              std::ostream& err, std::unique_ptr<JobConfirmer> confirmer)
      : terminal_(std::move(terminal)),
        prompt_(std::move(prompt)),
        progress_(std::move(progress)),
        messages_(err),
        confirmer_(std::move(confirmer)) {
    AfterEachJob afterEachJob;
    if (confirmer_) {
      afterEachJob = [this](std::int32_t port, std::uint64_t number) {
        return confirmer_->confirm(port, number,
                                   [this](const std::string& text) { messages_.line(text); });
      };
    }
    ports.progress = progress_.get();
    ports.notice = [this](const std::string& text) { messages_.line(text); };
    runner_ = makeCheckedPosixPrintRunner(
        std::make_unique<PosixPortLayer>(std::move(ports)), *prompt_, processPrintAbort(),
        [this](const FailedJob& failed) { messages_.line(failedJobText(failed)); },
        processPendingJobs(),
        [this](PosixPortLayer& layer, std::uint64_t) { layer.setJobTitle(nextTitle()); },
        std::move(afterEachJob));
  }

  void scriptStarting(const std::string& file) override {
    std::lock_guard<std::mutex> guard(titleLock_);
    script_ = file == "-" ? std::string("standard input")
                          : std::filesystem::path(file).filename().string();
  }

  void queue(PrintJob job) override {
    {
      // Jobs run in the order they are queued, so the titles wait in the
      // same order.
      std::lock_guard<std::mutex> guard(titleLock_);
      titles_.push_back(script_);
    }
    runner_->queue(std::move(job));
  }

  JobTally finish() override {
    runner_->finish();
    return runner_->tally();
  }

 private:
  std::string nextTitle() {
    std::lock_guard<std::mutex> guard(titleLock_);
    if (titles_.empty()) return script_;
    std::string title = std::move(titles_.front());
    titles_.pop_front();
    return title;
  }

  unique_c_file terminal_;
  std::unique_ptr<UserPrompt> prompt_;
  std::unique_ptr<TransferProgress> progress_;
  MessageLines messages_;
  std::unique_ptr<JobConfirmer> confirmer_;  // run --confirm
  std::mutex titleLock_;
  std::string script_;              // guarded by titleLock_
  std::deque<std::string> titles_;  // of the jobs queued and not yet started
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

Result<std::unique_ptr<JobSink>> makePortSink(const DeliveryOptions& options,
                                              const CodePages& codePages, std::ostream& err) {
  PosixPortLayer::Options ports;
  for (const auto& [port, path] : options.ports.devices) {
    std::string fault;
    if (isTcpDevice(path)) {
      if (const auto address = parseTcpPrinterAddress(path); !address) fault = address.error();
    } else if (isCupsDevice(path)) {
      if (const auto address = parseCupsQueueAddress(path); !address) fault = address.error();
    }
    if (!fault.empty())
      return Result<std::unique_ptr<JobSink>>::failure("--device " + port + ": " + fault);
    if (isCupsDevice(path) && !printServersSupported()) {
      return Result<std::unique_ptr<JobSink>>::failure(
          "--device " + port +
          ": this tagwright was built without print-server queues "
          "(TAGWRIGHT_CUPS=OFF), so " +
          path + " cannot be used: build it with libcups2-dev and TAGWRIGHT_CUPS=ON");
    }
    if (!ports.devices.assign(port, path)) {
      return Result<std::unique_ptr<JobSink>>::failure("unknown port " + port);
    }
  }
  if (options.ports.connectTimeout) ports.network.connect = *options.ports.connectTimeout;
  if (options.ports.busyTimeout) ports.network.busy = *options.ports.busyTimeout;
  if (options.ports.writeTimeout) ports.network.stall = *options.ports.writeTimeout;
  ports.waitForQueuedJobs = options.wait;

  unique_c_file terminal;
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
  // Progress only where someone watches it: standard error on a terminal.
  std::unique_ptr<TransferProgress> progress;
  if (!options.quiet && ::isatty(STDERR_FILENO) == 1) {
    progress = std::make_unique<TerminalProgress>(stderr);
  }
  std::unique_ptr<JobConfirmer> confirmer;
  if (options.confirm) {
    confirmer = std::make_unique<JobConfirmer>(
        ports.devices, statusNetworkTimeouts(options.ports, options.statusTimeout),
        confirmTimes(options.statusTimeout));
  }
  return std::unique_ptr<JobSink>(
      std::make_unique<PortJobSink>(std::move(terminal), std::move(prompt), std::move(progress),
                                    std::move(ports), err, std::move(confirmer)));
}

}  // namespace tagwright::cli

#include "virtual_printer/terminal_input.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/posix/send_all.h"

namespace tagwright::cli::printer {
namespace {

// A host that does not read an answer for this long loses it.
constexpr std::chrono::milliseconds kAnswerWait{1000};

}  // namespace

TerminalInput::TerminalInput(unique_fd master, unique_fd keeper, std::string path, PrinterLog& log)
    : master_(std::move(master)), keeper_(std::move(keeper)), path_(std::move(path)), log_(log) {}

Result<std::unique_ptr<TerminalInput>> TerminalInput::open(PrinterLog& log) {
  using Opened = Result<std::unique_ptr<TerminalInput>>;
  unique_fd master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!master || ::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0) {
    return Opened::failure(std::string("cannot make a pseudo-terminal: ") + std::strerror(errno));
  }
  char name[128];
  if (::ptsname_r(master.get(), name, sizeof name) != 0) {
    return Opened::failure(std::string("cannot name the pseudo-terminal: ") + std::strerror(errno));
  }
  // The settings belong to the terminal's program side and stay while the
  // master is open, whoever opens the path later.
  termios attributes{};
  if (::tcgetattr(master.get(), &attributes) == 0) {
    ::cfmakeraw(&attributes);
    ::tcsetattr(master.get(), TCSANOW, &attributes);
  }
  unique_fd keeper(::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!keeper) {
    return Opened::failure(std::string("cannot open the pseudo-terminal ") + name + ": " +
                           std::strerror(errno));
  }
  return std::unique_ptr<TerminalInput>(
      new TerminalInput(std::move(master), std::move(keeper), name, log));
}

void TerminalInput::pollEntries(std::vector<WaitEntry>& entries, int& retryAfterMs) {
  entries.push_back(WaitEntry{master_.get()});
  if (!jobOpen_) return;
  const auto quietFor = PrinterClock::now() - lastByte_;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(kJobPause - quietFor).count();
  retryAfterMs = static_cast<int>(std::clamp<long long>(left, 0, retryAfterMs));
}

bool TerminalInput::serve(const std::vector<WaitEntry>& entries, std::size_t first,
                          PrinterEngine& engine, PrinterClock::time_point now) {
  if (first < entries.size() && entries[first].readable) readAll(engine, now);
  if (jobOpen_ && now - lastByte_ >= kJobPause) {
    jobOpen_ = false;
    if (engine.endJob(now)) ++jobsEnded_;
  }
  return true;
}

void TerminalInput::readAll(PrinterEngine& engine, PrinterClock::time_point now) {
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(master_.get(), buffer, sizeof buffer);
    if (got > 0) {
      const std::size_t before = engine.jobContentBytes();
      const std::string answers =
          engine.receive(std::string_view(buffer, static_cast<std::size_t>(got)), now);
      // Queries keep no job going: a host asking after its job is not
      // sending more of it.
      if (engine.jobContentBytes() != before) {
        lastByte_ = now;
        jobOpen_ = true;
      }
      if (!answers.empty()) answer(answers);
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    return;  // EAGAIN: all read
  }
}

void TerminalInput::answer(const std::string& bytes) {
  SendWaits waits;
  waits.stall = kAnswerWait;
  if (!sendAll(realSystemCalls(), master_.get(), bytes, SendCall::Write, waits).ok()) {
    log_.notice("an answer could not be written: nobody reads the terminal");
  }
}

}  // namespace tagwright::cli::printer

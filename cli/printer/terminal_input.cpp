#include "cli/printer/terminal_input.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>

#include <cerrno>
#include <cstring>

namespace tagwright::cli::printer {
namespace {

// While nobody has the terminal open, its master reports a hang-up at
// once; it is looked at this often instead of being waited on.
constexpr int kLookAgainMs = 10;
constexpr int kAnswerWaitMs = 1000;

}  // namespace

TerminalInput::TerminalInput(UniqueFd master, std::string path, PrinterLog& log)
    : master_(std::move(master)), path_(std::move(path)), log_(log) {}

Result<std::unique_ptr<TerminalInput>> TerminalInput::open(PrinterLog& log) {
  using Opened = Result<std::unique_ptr<TerminalInput>>;
  UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!master.valid() || ::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0) {
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
  return std::unique_ptr<TerminalInput>(new TerminalInput(std::move(master), name, log));
}

void TerminalInput::pollEntries(std::vector<pollfd>& entries, int& retryAfterMs) {
  if (nobodyThere_) {
    if (retryAfterMs > kLookAgainMs) retryAfterMs = kLookAgainMs;
    return;
  }
  entries.push_back(pollfd{master_.get(), POLLIN, 0});
}

bool TerminalInput::serve(const std::vector<pollfd>& entries, std::size_t first,
                          PrinterEngine& engine, PrinterClock::time_point now) {
  short events = 0;
  if (nobodyThere_) {
    pollfd look{master_.get(), POLLIN, 0};
    if (::poll(&look, 1, 0) < 0) return true;
    events = look.revents;
  } else if (first < entries.size()) {
    events = entries[first].revents;
  }
  if ((events & POLLIN) != 0) {
    nobodyThere_ = false;
    readAll(engine, now);
  } else if ((events & POLLHUP) != 0) {
    if (engine.inJob()) {
      engine.endJob(now);
      ++jobsEnded_;
    }
    nobodyThere_ = true;
  } else if (nobodyThere_) {
    nobodyThere_ = false;  // opened, nothing written yet
  }
  return true;
}

void TerminalInput::readAll(PrinterEngine& engine, PrinterClock::time_point now) {
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(master_.get(), buffer, sizeof buffer);
    if (got > 0) {
      const std::string answers =
          engine.receive(std::string_view(buffer, static_cast<std::size_t>(got)), now);
      if (!answers.empty()) writeAll(answers);
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && errno == EIO) {  // the last program closed the terminal
      if (engine.inJob()) {
        engine.endJob(now);
        ++jobsEnded_;
      }
      nobodyThere_ = true;
    }
    return;  // EAGAIN: all read
  }
}

void TerminalInput::writeAll(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(master_.get(), bytes.data() + done, bytes.size() - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno == EAGAIN) {
      pollfd entry{master_.get(), POLLOUT, 0};
      if (::poll(&entry, 1, kAnswerWaitMs) > 0) continue;
    }
    log_.notice("an answer could not be written: nobody reads the terminal");
    return;
  }
}

}  // namespace tagwright::cli::printer

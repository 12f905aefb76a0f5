#include "virtual_printer/tcp_input.h"

#include <algorithm>
#include <chrono>

namespace tagwright::cli::printer {
namespace {

constexpr std::size_t kReadSize = 64 * 1024;
// Answers are a few bytes; a client that does not read them for this long
// loses them.
constexpr std::chrono::milliseconds kAnswerWait{1000};

}  // namespace

Result<std::pair<std::string, std::string>> splitListenAddress(const std::string& text) {
  using Split = Result<std::pair<std::string, std::string>>;
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon + 1 == text.size()) {
    return Split::failure("--listen takes HOST:PORT, e.g. 127.0.0.1:9100 (port 0: any free one)");
  }
  std::string host = text.substr(0, colon);
  const std::string port = text.substr(colon + 1);
  if (port.find_first_not_of("0123456789") != std::string::npos || port.size() > 5 ||
      std::stoul(port) > 65535) {
    return Split::failure("--listen: \"" + port + "\" is not a port number (0 to 65535)");
  }
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  }
  if (host.empty()) return Split::failure("--listen: the address to listen on is missing");
  return std::make_pair(host, port);
}

TcpInput::TcpInput(Setup setup, unique_wait_handle listener, std::string address, PrinterLog& log)
    : setup_(std::move(setup)),
      listener_(std::move(listener)),
      address_(std::move(address)),
      log_(log) {}

Result<std::unique_ptr<TcpInput>> TcpInput::open(const Setup& setup, PrinterLog& log) {
  using Opened = Result<std::unique_ptr<TcpInput>>;
  auto split = splitListenAddress(setup.listen);
  if (!split) return Opened::failure(split.error());
  const auto& [host, port] = split.value();
  // A printer that refuses keeps its port bound without listening: the
  // system then turns every connection away.
  Result<ListeningSocket> listening =
      listenOn(host, port, setup.fault != ConnectionFault::Refuse, setup.listen);
  if (!listening) return Opened::failure(listening.error());
  ListeningSocket& bound = listening.value();
  return std::unique_ptr<TcpInput>(
      new TcpInput(setup, std::move(bound.socket), std::move(bound.address), log));
}

// The connection served comes first, then the listener: connections that
// come meanwhile wait their turn, up to `mostWaiting`; the rest are turned
// away.
void TcpInput::pollEntries(std::vector<WaitEntry>& entries, int& retryAfterMs) {
  if (setup_.fault == ConnectionFault::Refuse) return;
  if (connection_ && setup_.fault != ConnectionFault::StopReading) {
    entries.push_back(WaitEntry{connection_.get()});
    const auto idle = lastHeard_ + setup_.idleTimeout - PrinterClock::now();
    const auto idleMs = std::chrono::ceil<std::chrono::milliseconds>(idle).count();
    retryAfterMs = static_cast<int>(std::clamp<long long>(idleMs, 0, retryAfterMs));
  }
  // A printer that stopped reading takes no other connection either.
  if (!connection_ || setup_.fault != ConnectionFault::StopReading) {
    entries.push_back(WaitEntry{listener_.get()});
  }
}

bool TcpInput::serve(const std::vector<WaitEntry>& entries, std::size_t first,
                     PrinterEngine& engine, PrinterClock::time_point now) {
  for (std::size_t i = first; i < entries.size(); ++i) {
    if (!entries[i].ready()) continue;
    if (entries[i].handle == listener_.get()) {
      if (connection_) {
        queue();
      } else {
        accept(now);
      }
    } else if (connection_ && entries[i].handle == connection_.get()) {
      readConnection(engine, now);
    }
  }
  endIfIdle(engine, now);
  if (!connection_ && !waiting_.empty()) {
    AcceptedSocket next = std::move(waiting_.front());
    waiting_.pop_front();
    connection_ = std::move(next.socket);
    peer_ = std::move(next.peer);
    connectionBytes_ = 0;
    lastHeard_ = now;
  }
  return true;
}

void TcpInput::accept(PrinterClock::time_point now) {
  std::optional<AcceptedSocket> accepted = acceptOn(listener_.get());
  if (!accepted) return;  // the client gave up meanwhile
  connection_ = std::move(accepted->socket);
  peer_ = std::move(accepted->peer);
  connectionBytes_ = 0;
  lastHeard_ = now;
  if (setup_.fault == ConnectionFault::StopReading) {
    log_.notice("took the connection from " + peer_ + " and reads nothing from it (stop-reading)");
  }
}

void TcpInput::queue() {
  std::optional<AcceptedSocket> accepted = acceptOn(listener_.get());
  if (!accepted) return;
  if (waiting_.size() >= setup_.mostWaiting) {
    log_.notice("turns away the connection from " + accepted->peer + ": " +
                std::to_string(waiting_.size()) + " connections wait their turn already");
    resetOnClose(accepted->socket.get());
    return;
  }
  waiting_.push_back(std::move(*accepted));
  log_.notice("the connection from " + waiting_.back().peer + " waits its turn (" +
              std::to_string(waiting_.size()) + " waiting)");
}

void TcpInput::endIfIdle(PrinterEngine& engine, PrinterClock::time_point now) {
  if (!connection_ || setup_.fault == ConnectionFault::StopReading) return;
  if (now - lastHeard_ < setup_.idleTimeout) return;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(setup_.idleTimeout);
  log_.notice("ends the connection from " + peer_ + ": nothing came for " +
              std::to_string(ms.count()) + " ms, after " + std::to_string(connectionBytes_) +
              " bytes");
  endConnection(engine, now, false);
}

bool TcpInput::readConnection(PrinterEngine& engine, PrinterClock::time_point now) {
  char buffer[kReadSize];
  std::size_t want = sizeof buffer;
  if (setup_.fault == ConnectionFault::CloseMidJob) {
    want = std::min(want, setup_.closeAfter - std::min(setup_.closeAfter, connectionBytes_));
  }
  const Received received = want == 0 ? Received{} : receiveFrom(connection_.get(), buffer, want);
  if (received.again) return true;
  lastHeard_ = now;
  if (received.failure) {
    log_.notice("the connection failed: " + *received.failure);
    endConnection(engine, now, false);
    return true;
  }
  const std::size_t got = received.bytes;
  if (got == 0 && want == 0) {
    log_.notice("closes the connection in the middle of the job, after " +
                std::to_string(connectionBytes_) + " bytes (close-mid-job)");
    endConnection(engine, now, true);
    return true;
  }
  if (got == 0) {
    if (setup_.fault == ConnectionFault::NeverClose) {
      log_.notice("the sender is done; the connection stays open (never-close)");
      if (engine.endJob(now)) ++jobsEnded_;
      held_.push_back(std::move(connection_));
      return true;
    }
    endConnection(engine, now, false);
    return true;
  }
  connectionBytes_ += got;
  const std::string answers = engine.receive(std::string_view(buffer, got), now);
  if (!answers.empty()) answer(answers);
  return true;
}

void TcpInput::endConnection(PrinterEngine& engine, PrinterClock::time_point now, bool reset) {
  if (reset) {
    // Closing with unread data makes a reset; a linger of zero makes one
    // even when nothing is waiting, as a printer that gives up does.
    resetOnClose(connection_.get());
  }
  connection_.reset();
  if (engine.endJob(now)) ++jobsEnded_;
}

void TcpInput::answer(const std::string& bytes) {
  if (!sendAnswer(connection_.get(), bytes, kAnswerWait)) {
    log_.notice("an answer could not be sent: the client does not take it");
  }
}

}  // namespace tagwright::cli::printer

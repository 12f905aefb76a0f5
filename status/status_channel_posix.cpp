#include "status/status_channel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/send_all.h"
#include "platform/posix/transport/cups_address.h"
#include "core/transport/network_address.h"
#include "platform/posix/transport/network_printer.h"
#include "platform/posix/unique_resource.h"
#include "status/answer_lines.h"
#include "status/status_channel_opening.h"
#include "status/status_channel_texts.h"

namespace tagwright::cli {
namespace {

// A query is a few bytes; a printer that takes none of them for this long
// is not answering.
constexpr std::chrono::milliseconds kSendWait{1000};

// Reads lines ended by LF (after a CR) from a descriptor that does not
// block, waiting with poll().
class DescriptorChannel : public StatusChannel {
 public:
  DescriptorChannel(unique_fd fd, SendCall call) : fd_(std::move(fd)), call_(call) {}

  Status send(std::string_view bytes) override {
    SendWaits waits;
    waits.stall = kSendWait;
    const SendResult sent = sendAll(realSystemCalls(), fd_.get(), bytes, call_, waits);
    if (sent.ok()) return Status::success();
    if (sent.end == SendEnd::CallFailed) {
      return Status::failure(std::string(kCannotSendQuery) + std::strerror(sent.error));
    }
    return Status::failure(std::string(kTakesNoQuery));
  }

  Result<std::optional<std::string>> readLine(std::chrono::milliseconds wait) override {
    using Wait = AnswerLines::Wait;
    return pending_.readLine(wait, [&](std::chrono::milliseconds left) -> Result<Wait> {
      pollfd entry{fd_.get(), POLLIN, 0};
      const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
      if (ready < 0 && errno == EINTR) return Wait::ReadOn;
      if (ready <= 0) return Wait::Silent;
      char buffer[256];
      const ssize_t got = ::read(fd_.get(), buffer, sizeof buffer);
      if (got > 0) {
        pending_.append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0) {
        return Result<Wait>::failure(std::string(kPrinterClosed));
      } else if (errno != EAGAIN && errno != EINTR) {
        return Result<Wait>::failure(std::string(kConnectionFailed) + std::strerror(errno));
      }
      return Wait::ReadOn;
    });
  }

  // What is there now, up to a bound: a peer that never stops sending
  // cannot keep the query from going out.
  void discardPending() override {
    pending_.clear();
    char buffer[256];
    for (std::size_t taken = 0; taken < AnswerLines::kMostDiscarded;) {
      const ssize_t got = ::read(fd_.get(), buffer, sizeof buffer);
      if (got <= 0) break;
      taken += static_cast<std::size_t>(got);
    }
  }

 protected:
  unique_fd fd_;

 private:
  SendCall call_;
  AnswerLines pending_;
};

class SocketChannel final : public DescriptorChannel {
 public:
  explicit SocketChannel(unique_fd fd) : DescriptorChannel(std::move(fd), SendCall::Send) {}
  ~SocketChannel() override {
    if (fd_) ::shutdown(fd_.get(), SHUT_RDWR);
  }
};

// A serial line, made raw for the exchange (no echo, no line editing, no
// CR to LF) and put back as it was afterwards.
class TerminalChannel final : public DescriptorChannel {
 public:
  TerminalChannel(unique_fd fd, std::optional<termios> saved)
      : DescriptorChannel(std::move(fd), SendCall::Write), saved_(std::move(saved)) {}
  ~TerminalChannel() override {
    if (saved_) ::tcsetattr(fd_.get(), TCSANOW, &*saved_);
  }

 private:
  std::optional<termios> saved_;
};

}  // namespace

Status canAnswer(const std::string& device) {
  if (isCupsDevice(device)) return Status::failure(std::string(kNoAnswersFromQueue));
  if (isTcpDevice(device)) return Status::success();
  struct stat info {};
  if (::stat(device.c_str(), &info) == 0) {
    if (S_ISREG(info.st_mode)) return Status::failure(std::string(kNoAnswersFromFile));
    if (S_ISFIFO(info.st_mode)) return Status::failure(std::string(kNoAnswersFromPipe));
  }
  return Status::success();
}

Result<std::unique_ptr<StatusChannel>> openStatusChannel(const std::string& portName,
                                                         const std::string& device,
                                                         const NetworkTimeouts& timeouts) {
  const TcpConnector connect = [&](const TcpPrinterAddress& address,
                                   const NoticeFunction& notice) -> std::unique_ptr<StatusChannel> {
    std::uint32_t error = 0;
    unique_fd fd(
        connectNetworkPrinter(realSystemCalls(), portName, address, timeouts, notice, error));
    if (!fd) return nullptr;
    return std::make_unique<SocketChannel>(std::move(fd));
  };
  return openChannelTo(portName, device, connect, [&]() -> OpenedChannel {
    unique_fd fd(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
      return OpenedChannel::failure(portName + ": cannot open " + device + ": " +
                                    std::strerror(errno));
    }
    std::optional<termios> saved;
    termios attributes{};
    if (::isatty(fd.get()) && ::tcgetattr(fd.get(), &attributes) == 0) {
      saved = attributes;
      const speed_t in = cfgetispeed(&attributes);
      const speed_t out = cfgetospeed(&attributes);
      ::cfmakeraw(&attributes);
      cfsetispeed(&attributes, in);  // the line's speed stays as set up
      cfsetospeed(&attributes, out);
      ::tcsetattr(fd.get(), TCSANOW, &attributes);
    }
    return std::unique_ptr<StatusChannel>(std::make_unique<TerminalChannel>(std::move(fd), saved));
  });
}

}  // namespace tagwright::cli

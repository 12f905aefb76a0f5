#include "status/status_channel.h"

#include <algorithm>
#include <chrono>

#include "core/text/utf8.h"
#include "core/transport/device_target.h"
#include "core/transport/network_address.h"
#include "platform/win32/transport/socket_wait.h"
#include "platform/win32/transport/winsock_printer.h"
#include "platform/win32/transport/winsock_start.h"
#include "platform/win32/unique_resource.h"
#include "status/answer_lines.h"
#include "status/status_channel_opening.h"
#include "status/status_channel_texts.h"

namespace tagwright::cli {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A query is a few bytes; a printer that takes none of them for this long
// is not answering.
constexpr milliseconds kSendWait{1000};
// A pause this long after bytes of an answer ends one read of a serial line.
constexpr milliseconds kAnswerPause{20};

milliseconds timeLeft(Clock::time_point deadline) {
  return std::max(std::chrono::ceil<milliseconds>(deadline - Clock::now()), milliseconds(0));
}

// A TCP connection to a network printer over Winsock, which it keeps
// started for as long as it lives.
class SocketChannel final : public StatusChannel {
 public:
  SocketChannel(win32::unique_winsock winsock, win32::unique_socket socket)
      : winsock_(std::move(winsock)), socket_(std::move(socket)) {}
  ~SocketChannel() override { ::shutdown(socket_.get(), SD_BOTH); }

  Status send(std::string_view bytes) override {
    const Clock::time_point deadline = Clock::now() + kSendWait;
    while (!bytes.empty()) {
      const int n = ::send(socket_.get(), bytes.data(), static_cast<int>(bytes.size()), 0);
      if (n > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
        continue;
      }
      const int failure = ::WSAGetLastError();
      if (failure != WSAEWOULDBLOCK) {
        return Status::failure(std::string(kCannotSendQuery) + win32::systemErrorText(failure));
      }
      if (Clock::now() >= deadline) return Status::failure(std::string(kTakesNoQuery));
      win32::waitForSocket(socket_.get(), win32::SocketReadiness::Write, timeLeft(deadline));
    }
    return Status::success();
  }

  Result<std::optional<std::string>> readLine(milliseconds wait) override {
    using Wait = AnswerLines::Wait;
    return answers_.readLine(wait, [&](milliseconds left) -> Result<Wait> {
      const int ready = win32::waitForSocket(socket_.get(), win32::SocketReadiness::Read, left);
      if (ready == 0) return Wait::Silent;
      char buffer[256];
      const int got = ready > 0 ? ::recv(socket_.get(), buffer, sizeof buffer, 0) : SOCKET_ERROR;
      if (got > 0) {
        answers_.append(buffer, static_cast<std::size_t>(got));
        return Wait::ReadOn;
      }
      if (got == 0) return Result<Wait>::failure(std::string(kPrinterClosed));
      const int failure = ::WSAGetLastError();
      if (failure == WSAEWOULDBLOCK) return Wait::ReadOn;
      return Result<Wait>::failure(std::string(kConnectionFailed) +
                                   win32::systemErrorText(failure));
    });
  }

  void discardPending() override {
    answers_.clear();
    char buffer[256];
    for (std::size_t taken = 0; taken < AnswerLines::kMostDiscarded;) {
      const int got = ::recv(socket_.get(), buffer, sizeof buffer, 0);
      if (got <= 0) break;
      taken += static_cast<std::size_t>(got);
    }
  }

 private:
  win32::unique_winsock winsock_;  // first: ends last
  win32::unique_socket socket_;
  AnswerLines answers_;
};

// A serial line (COMn), read and written within time-outs that
// SetCommTimeouts sets for each call; its settings stay as set up.
class SerialChannel final : public StatusChannel {
 public:
  explicit SerialChannel(win32::unique_file_handle port) : port_(std::move(port)) {}

  Status send(std::string_view bytes) override {
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(kSendWait.count());
    ::SetCommTimeouts(port_.get(), &timeouts);
    while (!bytes.empty()) {
      DWORD written = 0;
      if (!::WriteFile(port_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr)) {
        return Status::failure(std::string(kCannotSendQuery) +
                               win32::systemErrorText(static_cast<int>(::GetLastError())));
      }
      if (written == 0) return Status::failure(std::string(kTakesNoQuery));
      bytes.remove_prefix(written);
    }
    return Status::success();
  }

  Result<std::optional<std::string>> readLine(milliseconds wait) override {
    using Wait = AnswerLines::Wait;
    return answers_.readLine(wait, [&](milliseconds left) -> Result<Wait> {
      // Returns a pause of kAnswerPause after bytes have come, or after
      // `left` with none.
      COMMTIMEOUTS timeouts{};
      timeouts.ReadIntervalTimeout = static_cast<DWORD>(kAnswerPause.count());
      timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(left.count());
      ::SetCommTimeouts(port_.get(), &timeouts);
      char buffer[256];
      DWORD got = 0;
      if (!::ReadFile(port_.get(), buffer, sizeof buffer, &got, nullptr)) {
        return Result<Wait>::failure(std::string(kConnectionFailed) +
                                     win32::systemErrorText(static_cast<int>(::GetLastError())));
      }
      answers_.append(buffer, got);
      return Wait::ReadOn;
    });
  }

  void discardPending() override {
    answers_.clear();
    ::PurgeComm(port_.get(), PURGE_RXCLEAR);
  }

 private:
  win32::unique_file_handle port_;
  AnswerLines answers_;
};

// COM3 and COM12 alike, as CreateFile needs them: \\.\COM12.
std::wstring devicePath(const std::string& device) {
  const std::u16string wide = utf8ToUtf16(device);
  std::wstring path(wide.begin(), wide.end());
  if (path.rfind(L"\\\\", 0) == 0) return path;
  const bool comPort = path.size() > 3 && _wcsnicmp(path.c_str(), L"COM", 3) == 0 &&
                       path.find_first_not_of(L"0123456789", 3) == std::wstring::npos;
  return comPort ? L"\\\\.\\" + path : path;
}

// LPT1 and \\.\LPT1 alike: Windows' parallel ports are written to, never
// read from.
bool isParallelPort(const std::wstring& path) {
  const std::wstring name = path.rfind(L"\\\\.\\", 0) == 0 ? path.substr(4) : path;
  return name.size() > 3 && _wcsnicmp(name.c_str(), L"LPT", 3) == 0 &&
         name.find_first_not_of(L"0123456789", 3) == std::wstring::npos;
}

}  // namespace

Status canAnswer(const std::string& device) {
  if (isTcpDevice(device)) return Status::success();
  // The device map's other targets: a printer queue and a file.
  if (device.rfind(kPrinterQueuePrefix, 0) == 0) {
    return Status::failure(std::string(kNoAnswersFromQueue));
  }
  if (device.rfind(kFileTargetPrefix, 0) == 0)
    return Status::failure(std::string(kNoAnswersFromFile));
  const std::wstring path = devicePath(device);
  if (isParallelPort(path)) return Status::failure(std::string(kNoAnswersFromParallel));
  if (path.rfind(L"\\\\.\\pipe\\", 0) == 0) {
    return Status::failure(std::string(kNoAnswersFromPipe));
  }
  if (path.rfind(L"\\\\.\\", 0) == 0) return Status::success();  // a device
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return Status::failure(std::string(kNoAnswersFromFile));
  }
  return Status::success();
}

Result<std::unique_ptr<StatusChannel>> openStatusChannel(const std::string& portName,
                                                         const std::string& device,
                                                         const NetworkTimeouts& timeouts) {
  const TcpConnector connect = [&](const TcpPrinterAddress& address,
                                   const NoticeFunction& notice) -> std::unique_ptr<StatusChannel> {
    Result<win32::unique_winsock> winsock = win32::startWinsock();
    if (!winsock) {
      notice(portName + ": " + winsock.error());
      return nullptr;
    }
    std::uint32_t error = 0;
    win32::unique_socket socket =
        win32::connectWinsockPrinter(portName, address, timeouts, notice, error);
    if (!socket) return nullptr;
    return std::make_unique<SocketChannel>(std::move(winsock).value(), std::move(socket));
  };
  return openChannelTo(portName, device, connect, [&]() -> OpenedChannel {
    win32::unique_file_handle port(::CreateFileW(devicePath(device).c_str(),
                                                 GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!port) {
      return OpenedChannel::failure(portName + ": cannot open " + device + ": " +
                                    win32::systemErrorText(static_cast<int>(::GetLastError())));
    }
    return std::unique_ptr<StatusChannel>(std::make_unique<SerialChannel>(std::move(port)));
  });
}

}  // namespace tagwright::cli

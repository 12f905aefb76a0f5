#include "platform/posix/transport/posix_port_layer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>

#include "platform/posix/transport/usb_printers.h"

namespace tagwright {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr std::uint32_t kErrorTooManyOpenFiles = 4;
constexpr std::uint32_t kErrorNotEnoughMemory = 8;
constexpr std::uint32_t kErrorFilenameTooLong = 206;
constexpr std::uint32_t kErrorDirectory = 267;
constexpr std::uint32_t kErrorPrivilegeNotHeld = 1314;

// Windows parity and stop-bit codes.
constexpr std::uint8_t kOddParity = 1;
constexpr std::uint8_t kEvenParity = 2;
constexpr std::uint8_t kTwoStopBits = 2;

// Pause when a device reports room for writing but takes nothing (drivers
// without poll support), so that the write loop does not spin.
constexpr std::chrono::milliseconds kBusyDevicePause{10};

int descriptor(PortHandle port) { return static_cast<int>(port); }

struct Speed {
  std::uint32_t baud;
  speed_t code;
};
constexpr Speed kSpeeds[] = {
    {300, B300},     {600, B600},       {1200, B1200},     {2400, B2400},
    {4800, B4800},   {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400},
};

std::uint32_t baudOf(speed_t code) {
  for (const Speed& s : kSpeeds) {
    if (s.code == code) return s.baud;
  }
  return 0;
}

std::optional<speed_t> codeOf(std::uint32_t baud) {
  for (const Speed& s : kSpeeds) {
    if (s.baud == baud) return s.code;
  }
  return std::nullopt;
}

std::optional<tcflag_t> sizeFlagOf(std::uint8_t byteSize) {
  switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return std::nullopt;
  }
}

std::uint8_t byteSizeOf(tcflag_t cflag) {
  switch (cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
  }
}

// The deadline of one write under the port's write time-outs; none when
// both are 0, as with Windows ports.
std::optional<Clock::time_point> writeDeadline(const CommTimeouts& t, std::size_t size) {
  if (t.writeTotalTimeoutMultiplier == 0 && t.writeTotalTimeoutConstant == 0) return std::nullopt;
  const auto total =
      std::chrono::milliseconds(t.writeTotalTimeoutConstant) +
      std::chrono::milliseconds(t.writeTotalTimeoutMultiplier) * static_cast<std::int64_t>(size);
  return Clock::now() + total;
}

}  // namespace

std::uint32_t portErrorFromErrno(int error) {
  switch (error) {
    case EBUSY:
    case EWOULDBLOCK: return kErrorAccessDenied;
    case ENOENT:
    case ENXIO:
    case ENODEV: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return kErrorPrivilegeNotHeld;
    case EMFILE:
    case ENFILE: return kErrorTooManyOpenFiles;
    case ENOMEM: return kErrorNotEnoughMemory;
    case ENAMETOOLONG:
    case ELOOP: return kErrorFilenameTooLong;
    case EISDIR: return kErrorDirectory;
    default: return kErrorGenFailure;
  }
}

PosixPortLayer::PosixPortLayer(Options options, SystemCalls& system)
    : options_(std::move(options)), system_(system) {}

PosixPortLayer::~PosixPortLayer() {
  // Ports still open here were left by a caller that ended early; give the
  // devices back.
  std::map<PortHandle, OpenPort> left;
  {
    std::lock_guard<std::mutex> guard(lock_);
    left.swap(open_);
  }
  for (const auto& [port, state] : left) {
    if (state.exclusiveSet) system_.setExclusive(descriptor(port), false);
    system_.closeFile(descriptor(port));
  }
}

std::optional<std::string> PosixPortLayer::pathForName(const std::string& name) const {
  if (auto path = options_.devices.pathFor(name)) return path;
  std::lock_guard<std::mutex> guard(lock_);
  auto it = usbNodes_.find(name);
  if (it == usbNodes_.end()) return std::nullopt;
  return it->second;
}

PortHandle PosixPortLayer::open(const std::string& name, std::uint32_t& error) {
  const std::optional<std::string> path = pathForName(name);
  if (!path) {
    error = kErrorFileNotFound;
    return kInvalidPort;
  }
  // Non-blocking, so that a serial line without carrier does not hold the
  // open; writes wait with poll under the port's time-outs instead. Appending,
  // so that a file standing for a port receives the jobs one after another
  // as a printer would, instead of each job overwriting the last from the
  // start (devices ignore it).
  const int fd = retryInterrupted([&] {
    return system_.openFile(path->c_str(), O_RDWR | O_APPEND | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  });
  if (fd < 0) {
    error = portErrorFromErrno(errno);
    return kInvalidPort;
  }
  if (retryInterrupted([&] { return system_.lockFile(fd, LOCK_EX | LOCK_NB); }) != 0 &&
      errno == EWOULDBLOCK) {
    system_.closeFile(fd);
    error = kErrorAccessDenied;
    return kInvalidPort;
  }
  // Any other lock failure (a file system without locks) leaves the port
  // usable, only without protection against a second opener.
  OpenPort state;
  // Keeps programs that do not lock out of a terminal while it is in use.
  state.exclusiveSet = system_.isTerminal(fd) && system_.setExclusive(fd, true) == 0;
  std::lock_guard<std::mutex> guard(lock_);
  open_[fd] = state;
  return fd;
}

bool PosixPortLayer::isOpen(PortHandle port) const {
  std::lock_guard<std::mutex> guard(lock_);
  return open_.count(port) == 1;
}

std::optional<CommTimeouts> PosixPortLayer::timeoutsOf(PortHandle port) const {
  std::lock_guard<std::mutex> guard(lock_);
  auto it = open_.find(port);
  if (it == open_.end()) return std::nullopt;
  return it->second.timeouts;
}

bool PosixPortLayer::getTimeouts(PortHandle port, CommTimeouts& timeouts) {
  const auto current = timeoutsOf(port);
  if (!current) return false;
  timeouts = *current;
  return true;
}

bool PosixPortLayer::setTimeouts(PortHandle port, const CommTimeouts& timeouts) {
  std::lock_guard<std::mutex> guard(lock_);
  auto it = open_.find(port);
  if (it == open_.end()) return false;
  it->second.timeouts = timeouts;
  return true;
}

bool PosixPortLayer::getModemStatus(PortHandle port, std::uint32_t& status) {
  if (!isOpen(port)) return false;
  int bits = 0;
  if (system_.getModemBits(descriptor(port), bits) != 0) return false;
  status = 0;
  if ((bits & TIOCM_CTS) != 0) status |= kModemCtsOn;
  if ((bits & TIOCM_DSR) != 0) status |= kModemDsrOn;
  if ((bits & TIOCM_RNG) != 0) status |= kModemRingOn;
  if ((bits & TIOCM_CAR) != 0) status |= kModemRlsdOn;
  return true;
}

bool PosixPortLayer::getCommState(PortHandle port, CommState& state) {
  if (!isOpen(port)) return false;
  termios attributes{};
  if (retryInterrupted([&] { return system_.getAttributes(descriptor(port), attributes); }) != 0) {
    return false;
  }
  state.baudRate = baudOf(cfgetospeed(&attributes));
  state.byteSize = byteSizeOf(attributes.c_cflag);
  state.parity = (attributes.c_cflag & PARENB) == 0   ? kNoParity
                 : (attributes.c_cflag & PARODD) != 0 ? kOddParity
                                                      : kEvenParity;
  state.stopBits = (attributes.c_cflag & CSTOPB) != 0 ? kTwoStopBits : kOneStopBit;
  state.native = attributes;
  return true;
}

// The queues of a POSIX terminal are sized by the kernel.
bool PosixPortLayer::setupQueues(PortHandle port, std::uint32_t, std::uint32_t) {
  return isOpen(port);
}

bool PosixPortLayer::setCommState(PortHandle port, const CommState& state) {
  const termios* found = std::any_cast<termios>(&state.native);
  if (found == nullptr || !isOpen(port)) return false;
  termios attributes = *found;
  const std::optional<speed_t> speed = codeOf(state.baudRate);
  const std::optional<tcflag_t> size = sizeFlagOf(state.byteSize);
  if (!speed || !size) return false;
  cfsetispeed(&attributes, *speed);
  cfsetospeed(&attributes, *speed);
  attributes.c_cflag = (attributes.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | *size;
  attributes.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CSTOPB);
  if (state.parity == kOddParity) attributes.c_cflag |= PARENB | PARODD;
  if (state.parity == kEvenParity) attributes.c_cflag |= PARENB;
  if (state.stopBits == kTwoStopBits) attributes.c_cflag |= CSTOPB;
  // A serial port passes the job's bytes untouched; the terminal's output
  // processing (LF to CR LF among others) would change them. Flow control
  // and everything else stays as the port reported it.
  attributes.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  return retryInterrupted([&] { return system_.setAttributes(descriptor(port), attributes); }) == 0;
}

// Event masks matter only to a reader waiting for events; nothing here does.
bool PosixPortLayer::setCommMask(PortHandle port, std::uint32_t) { return isOpen(port); }

bool PosixPortLayer::purge(PortHandle port, std::uint32_t flags) {
  if (!isOpen(port)) return false;
  const bool output = (flags & kPurgeTxClear) != 0;
  const bool input = (flags & kPurgeRxClear) != 0;
  if (!output && !input) return true;
  const int queues = output && input ? TCIOFLUSH : output ? TCOFLUSH : TCIFLUSH;
  return system_.flushQueues(descriptor(port), queues) == 0;
}

bool PosixPortLayer::write(PortHandle port, std::string_view bytes, std::uint32_t& written) {
  written = 0;
  const std::optional<CommTimeouts> timeouts = timeoutsOf(port);
  if (!timeouts) return false;
  const int fd = descriptor(port);
  const std::optional<Clock::time_point> deadline = writeDeadline(*timeouts, bytes.size());
  std::size_t sent = 0;
  bool deviceSaidReady = false;
  while (sent < bytes.size()) {
    const ssize_t n = retryInterrupted(
        [&] { return system_.writeSome(fd, bytes.data() + sent, bytes.size() - sent); });
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      written = static_cast<std::uint32_t>(sent);
      deviceSaidReady = false;
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;

    // No room: wait for it, but not past the deadline.
    if (deviceSaidReady) std::this_thread::sleep_for(kBusyDevicePause);
    int waitMs = -1;
    if (deadline) {
      const auto left =
          std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
      if (left <= 0) return false;  // timed out with the job partly written
      waitMs = left > 60000 ? 60000 : static_cast<int>(left);
    }
    pollfd entry{fd, POLLOUT, 0};
    const int ready = system_.pollOne(entry, waitMs);
    if (ready < 0 && errno != EINTR) return false;
    if (ready > 0 && (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return false;
    deviceSaidReady = ready > 0;
  }
  return true;
}

bool PosixPortLayer::setBreak(PortHandle port) {
  return isOpen(port) && system_.startBreak(descriptor(port)) == 0;
}

bool PosixPortLayer::close(PortHandle port) {
  OpenPort state;
  {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = open_.find(port);
    if (it == open_.end()) return false;
    state = it->second;
    open_.erase(it);
  }
  if (state.exclusiveSet) system_.setExclusive(descriptor(port), false);
  // close() is not repeated on EINTR: the descriptor is gone either way.
  return system_.closeFile(descriptor(port)) == 0;
}

std::vector<std::string> PosixPortLayer::usbDevicePaths() {
  std::vector<UsbPrinterNode> printers = scanUsbPrinters(options_.sysfsRoot, options_.devRoot);
  // A printer put behind "USB" by the host program comes last, so that it
  // wins over the ones the kernel knows.
  if (const auto& mapped = options_.devices.usbPrinter()) {
    printers.push_back(UsbPrinterNode{std::string(DeviceMap::kMappedUsbDevicePath), *mapped});
  }
  std::vector<std::string> paths;
  std::lock_guard<std::mutex> guard(lock_);
  for (UsbPrinterNode& printer : printers) {
    paths.push_back(printer.devicePath);
    usbNodes_[printer.devicePath] = std::move(printer.node);
  }
  return paths;
}

}  // namespace tagwright

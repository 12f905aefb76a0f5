#include "platform/posix/transport/posix_port_layer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

#include "platform/posix/send_all.h"
#include "platform/posix/transport/cups_address.h"
#include "core/transport/network_address.h"
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

// The port as the user names it; the USB printer is opened by its device
// path.
std::string shownPortName(const std::string& name) {
  const bool lptOrCom =
      name.size() == 4 && (name.rfind("LPT", 0) == 0 || name.rfind("COM", 0) == 0);
  return lptOrCom ? name : std::string("USB");
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
    // A network link resets its connection as it goes; a print-server job
    // not handed over is simply not sent.
    if (state.network || state.serverJob) continue;
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
  if (isTcpDevice(*path)) return openNetworkPrinter(name, *path, error);
  if (isCupsDevice(*path)) return openPrintServerQueue(name, *path, error);
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
  state.delivery.port = shownPortName(name);
  state.delivery.target = *path;
  return remember(fd, std::move(state));
}

PortHandle PosixPortLayer::openNetworkPrinter(const std::string& name, const std::string& device,
                                              std::uint32_t& error) {
  const Result<TcpPrinterAddress> address = parseTcpPrinterAddress(device);
  if (!address) {
    if (options_.notice) options_.notice(shownPortName(name) + ": " + address.error());
    error = kErrorFileNotFound;
    return kInvalidPort;
  }
  const int fd = connectNetworkPrinter(system_, shownPortName(name), address.value(),
                                       options_.network, options_.notice, error);
  if (fd < 0) return kInvalidPort;
  OpenPort state;
  state.network = std::make_shared<NetworkPrinterLink>(system_, fd, options_.network);
  state.delivery.port = shownPortName(name);
  state.delivery.target = std::string(kTcpDevicePrefix) + address.value().text();
  return remember(fd, std::move(state));
}

PortHandle PosixPortLayer::openPrintServerQueue(const std::string& name, const std::string& device,
                                                std::uint32_t& error) {
  const Result<CupsQueueAddress> address = parseCupsQueueAddress(device);
  if (!address) {
    if (options_.notice) options_.notice(shownPortName(name) + ": " + address.error());
    error = kErrorFileNotFound;
    return kInvalidPort;
  }
  PrintServerSettings settings{options_.network, options_.waitForQueuedJobs, options_.notice};
  std::unique_ptr<PrintServerJob> job =
      openPrintServerJob(shownPortName(name), address.value(), settings, error);
  if (!job) return kInvalidPort;
  const int handle = job->handle();
  OpenPort state;
  state.serverJob = std::move(job);
  state.delivery.port = shownPortName(name);
  state.delivery.target = std::string(kCupsDevicePrefix) + address.value().text();
  return remember(handle, std::move(state));
}

void PosixPortLayer::setJobTitle(std::string title) {
  std::lock_guard<std::mutex> guard(lock_);
  jobTitle_ = std::move(title);
}

std::shared_ptr<PrintServerJob> PosixPortLayer::serverJobOf(PortHandle port) const {
  std::lock_guard<std::mutex> guard(lock_);
  auto it = open_.find(port);
  return it == open_.end() ? nullptr : it->second.serverJob;
}

PortHandle PosixPortLayer::remember(PortHandle port, OpenPort state) {
  std::lock_guard<std::mutex> guard(lock_);
  open_[port] = std::move(state);
  return port;
}

std::shared_ptr<NetworkPrinterLink> PosixPortLayer::networkLinkOf(PortHandle port) const {
  std::lock_guard<std::mutex> guard(lock_);
  auto it = open_.find(port);
  return it == open_.end() ? nullptr : it->second.network;
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
  // A network printer has no modem lines; it counts as present, as any port
  // that cannot report them does.
  if (!isOpen(port) || networkLinkOf(port) || serverJobOf(port)) return false;
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
  // A new connection or queued job holds nothing to purge.
  if (networkLinkOf(port) || serverJobOf(port)) return true;
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
  std::string failure;
  bool ok = false;
  if (const std::shared_ptr<PrintServerJob> job = serverJobOf(port)) {
    // Held until the close hands the whole job to the server.
    job->take(bytes);
    written = static_cast<std::uint32_t>(bytes.size());
    return true;
  }
  if (const std::shared_ptr<NetworkPrinterLink> link = networkLinkOf(port)) {
    // Taken by the connection; whether it reached the printer is known
    // only at the close.
    ok = link->send(bytes, options_.progress);
    if (ok) written = static_cast<std::uint32_t>(bytes.size());
  } else {
    if (options_.progress) options_.progress->begin(bytes.size());
    ok = writeToDevice(port, *timeouts, bytes, written, failure);
    if (options_.progress) options_.progress->end();
  }
  std::lock_guard<std::mutex> guard(lock_);
  auto it = open_.find(port);
  if (it != open_.end() && !it->second.network) {
    Delivery& delivery = it->second.delivery;
    delivery.offered += bytes.size();
    delivery.delivered += written;
    if (!ok && delivery.failure.empty()) delivery.failure = failure;
  }
  return ok;
}

bool PosixPortLayer::writeToDevice(PortHandle port, const CommTimeouts& timeouts,
                                   std::string_view bytes, std::uint32_t& written,
                                   std::string& failure) {
  // Ports without a write time-out of their own (a USB or parallel printer:
  // only serial ports get one) are held to the stall time-out instead, so
  // that a printer out of paper, which stops taking data, cannot hang the
  // program.
  SendWaits waits;
  waits.deadline = writeDeadline(timeouts, bytes.size());
  waits.stall = options_.network.stall;
  waits.hangUpEnds = true;
  waits.afterWrite = [this](std::size_t sent) {
    if (options_.progress) options_.progress->advance(sent);
  };
  const SendResult result = sendAll(system_, descriptor(port), bytes, SendCall::Write, waits);
  written = static_cast<std::uint32_t>(result.sent);
  switch (result.end) {
    case SendEnd::AllSent: return true;
    case SendEnd::CallFailed:
      failure = std::string("the device refused the write: ") + std::strerror(result.error);
      break;
    case SendEnd::WaitFailed: failure = "the device reported an error or went away"; break;
    case SendEnd::TimedOut:
      // Timed out with the job partly written.
      failure = waits.deadline ? "the device took nothing more within the port's write time-out"
                               : tookNoDataText(waits.stall);
      break;
  }
  return false;
}

bool PosixPortLayer::setBreak(PortHandle port) {
  // A connection or a queue has no line to break.
  if (networkLinkOf(port) || serverJobOf(port)) return false;
  return isOpen(port) && system_.startBreak(descriptor(port)) == 0;
}

bool PosixPortLayer::close(PortHandle port) {
  OpenPort state;
  {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = open_.find(port);
    if (it == open_.end()) return false;
    state = std::move(it->second);
    open_.erase(it);
  }
  bool closed = true;
  if (state.serverJob) {
    std::string title;
    {
      std::lock_guard<std::mutex> guard(lock_);
      title = jobTitle_;
    }
    Delivery handedOver = state.serverJob->submit(title);
    handedOver.port = std::move(state.delivery.port);
    handedOver.target = std::move(state.delivery.target);
    state.delivery = std::move(handedOver);
  } else if (state.network) {
    Delivery ended = state.network->finish(options_.progress);
    state.delivery.offered = ended.offered;
    state.delivery.delivered = ended.delivered;
    state.delivery.failure = std::move(ended.failure);
    state.delivery.countKnown = ended.countKnown;
    state.delivery.tookAll = ended.tookAll;
  } else {
    if (state.exclusiveSet) system_.setExclusive(descriptor(port), false);
    // close() is not repeated on EINTR: the descriptor is gone either way.
    closed = system_.closeFile(descriptor(port)) == 0;
  }
  std::lock_guard<std::mutex> guard(lock_);
  deliveries_.push_back(std::move(state.delivery));
  return closed;
}

std::vector<Delivery> PosixPortLayer::takeDeliveries() {
  std::lock_guard<std::mutex> guard(lock_);
  return std::exchange(deliveries_, {});
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

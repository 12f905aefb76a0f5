#include "platform/posix/transport/posix_port_layer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <thread>

#include "core/transport/port_texts.h"
#include "core/transport/print_worker.h"
#include "core/transport/printer_port.h"
#include "platform/posix/unique_resource.h"
#include "support/fake_port_layer.h"
#include "support/real_time_worker.h"

namespace tagwright {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// A pseudo-terminal: the slave's path stands for a serial port, the master
// sees what is written to it. The test keeps a slave descriptor of its own
// so that the terminal lives on between the worker's open and close.
struct PseudoTerminal {
  PseudoTerminal() : master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    EXPECT_GE(master.get(), 0);
    EXPECT_EQ(::grantpt(master.get()), 0);
    EXPECT_EQ(::unlockpt(master.get()), 0);
    slavePath = ::ptsname(master.get());
    slave.reset(::open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    EXPECT_GE(slave.get(), 0);
  }
  // What the master reads: waits up to 2 s for `size` bytes, then 50 ms
  // more for any byte beyond them.
  std::string read(std::size_t size) const {
    std::string bytes;
    char buffer[4096];
    for (;;) {
      pollfd entry{master.get(), POLLIN, 0};
      if (::poll(&entry, 1, bytes.size() < size ? 2000 : 50) <= 0) break;
      const ssize_t n = ::read(master.get(), buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
  }
  unique_fd master;
  std::string slavePath;
  unique_fd slave;
};

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "tagwright-port-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  fs::path file(const std::string& name, const std::string& content = {}) const {
    std::ofstream(path_ / name, std::ios::binary) << content;
    return path_ / name;
  }

 private:
  fs::path path_;
};

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

PosixPortLayer::Options portsWith(std::initializer_list<std::pair<const char*, std::string>> map,
                                  fs::path sysfs = "/nonexistent-sysfs") {
  PosixPortLayer::Options options;
  for (const auto& [name, path] : map) EXPECT_TRUE(options.devices.assign(name, path)) << name;
  options.sysfsRoot = std::move(sysfs);
  return options;
}

using Worker = testing::RealTimeWorker;

const std::string kJob("^Q25,3\r^W50\r^L\rAA,10,20,1,1,1,0,Line\nTwo\r\xff\xfe\0E\r", 39);

TEST(PosixPorts, PseudoTerminalAsComPortReceivesTheExactJobBytes) {
  PseudoTerminal pty;
  PosixPortLayer layer(portsWith({{"COM3", pty.slavePath}}));
  Worker w(layer);
  EXPECT_EQ(w.worker.run(PrintJob{kJob, 5}), JobOutcome::Written);
  EXPECT_EQ(pty.read(kJob.size()), kJob) << "line feeds and high bytes must pass untouched";
  EXPECT_TRUE(w.prompt.questions().empty());
}

TEST(PosixPorts, SerialSetUpSetsTheLineAndKeepsFlowControlAsFound) {
  PseudoTerminal pty;
  termios before{};
  ASSERT_EQ(::tcgetattr(pty.slave.get(), &before), 0);
  before.c_iflag |= IXON | IXOFF;
  before.c_cflag |= CRTSCTS | PARENB | CSTOPB;
  before.c_cflag = (before.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | CS7;
  cfsetospeed(&before, B115200);
  cfsetispeed(&before, B115200);
  ASSERT_EQ(::tcsetattr(pty.slave.get(), TCSANOW, &before), 0);

  PosixPortLayer layer(portsWith({{"COM1", pty.slavePath}}));
  testing::RecordingSleeper sleeper;
  std::string errorText;
  const PortHandle port = OpenPrinterPort(layer, sleeper, 3, errorText);
  ASSERT_NE(port, kInvalidPort) << errorText;
  termios after{};
  ASSERT_EQ(::tcgetattr(pty.slave.get(), &after), 0);
  EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B9600));
  EXPECT_EQ(after.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(after.c_cflag & (PARENB | CSTOPB), 0u);
  EXPECT_EQ(after.c_cflag & CRTSCTS, static_cast<tcflag_t>(CRTSCTS));
  EXPECT_EQ(after.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
  EXPECT_EQ(after.c_oflag & OPOST, 0u);
  ClosePrinterPort(layer, 3, port);
}

TEST(PosixPorts, FileAsLptPortReceivesTheZeroTestByteThenTheJob) {
  TempDir dir;
  const fs::path lpt = dir.file("lpt2");
  PosixPortLayer layer(portsWith({{"lpt2", lpt.string()}}));
  Worker w(layer);
  EXPECT_EQ(w.worker.run(PrintJob{kJob, 1}), JobOutcome::Written);
  EXPECT_EQ(readAll(lpt), std::string(1, '\0') + kJob);
}

TEST(PosixPorts, FileStandingForAPortReceivesJobAfterJob) {
  TempDir dir;
  const fs::path lpt = dir.file("lpt1");
  PosixPortLayer layer(portsWith({{"LPT1", lpt.string()}}));
  Worker w(layer);
  EXPECT_EQ(w.worker.run(PrintJob{"a long first job\r", 0}), JobOutcome::Written);
  EXPECT_EQ(w.worker.run(PrintJob{"short\r", 0}), JobOutcome::Written);
  EXPECT_EQ(readAll(lpt), std::string("\0a long first job\r\0short\r", 25));
}

TEST(PosixPorts, FileAsUsbPrinterIsFoundAndReceivesOnlyTheJob) {
  TempDir dir;
  const fs::path usb = dir.file("usb");
  PosixPortLayer layer(portsWith({{"USB", usb.string()}}));
  Worker w(layer);
  EXPECT_EQ(w.worker.run(PrintJob{kJob, kUsbPortIndex}), JobOutcome::Written);
  EXPECT_EQ(readAll(usb), kJob);
}

TEST(PosixPorts, MissingDeviceIsReportedWithItsCode) {
  TempDir dir;
  PosixPortLayer layer(portsWith({{"COM2", (dir.file("x").parent_path() / "absent").string()}}));
  testing::RecordingSleeper sleeper;
  std::string errorText;
  EXPECT_EQ(OpenPrinterPort(layer, sleeper, 4, errorText), kInvalidPort);
  EXPECT_EQ(errorText, portOpenFailedText(kErrorFileNotFound));
  PosixPortLayer noUsb(portsWith({}));
  EXPECT_EQ(OpenPrinterPort(noUsb, sleeper, kUsbPortIndex, errorText), kInvalidPort);
  EXPECT_EQ(errorText, kUsbPrinterNotFoundText);
}

TEST(PosixPorts, SecondOpenerIsRefusedAsHeldUntilTheFirstCloses) {
  PseudoTerminal pty;
  TempDir dir;
  const fs::path file = dir.file("lpt");
  for (const std::string& path : {pty.slavePath, file.string()}) {
    SCOPED_TRACE(path);
    PosixPortLayer layer(portsWith({{"COM1", path}}));
    PosixPortLayer otherProgram(portsWith({{"COM1", path}}));
    std::uint32_t error = 0;
    const PortHandle first = layer.open("COM1", error);
    ASSERT_NE(first, kInvalidPort);
    EXPECT_EQ(otherProgram.open("COM1", error), kInvalidPort);
    EXPECT_EQ(error, kErrorAccessDenied);
    EXPECT_EQ(layer.open("COM1", error), kInvalidPort) << "the same layer is refused too";
    EXPECT_TRUE(layer.close(first));
    const PortHandle second = otherProgram.open("COM1", error);
    EXPECT_NE(second, kInvalidPort);
    otherProgram.close(second);
  }
}

TEST(PosixPorts, SecondOpenerWaitsInTheRetryUntilTheFirstCloses) {
  TempDir dir;
  const fs::path lpt = dir.file("lpt1");
  // Another program holds the device.
  unique_fd holder(::open(lpt.c_str(), O_RDWR | O_CLOEXEC));
  ASSERT_EQ(::flock(holder.get(), LOCK_EX), 0);

  PosixPortLayer layer(portsWith({{"LPT1", lpt.string()}}));
  Worker w(layer);
  auto job = std::async(std::launch::async, [&] { return w.worker.run(PrintJob{"job", 0}); });
  EXPECT_EQ(job.wait_for(milliseconds(100)), std::future_status::timeout);
  EXPECT_EQ(readAll(lpt), "") << "nothing may be written while the port is held";
  holder.reset();
  ASSERT_EQ(job.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(job.get(), JobOutcome::Written);
  EXPECT_EQ(readAll(lpt), std::string("\0job", 4));
  EXPECT_TRUE(w.prompt.questions().empty()) << "a held port is waited for, not asked about";
}

TEST(PosixPorts, WriteGivesUpAtTheWriteTimeout) {
  PseudoTerminal pty;  // nobody reads the master: the terminal's buffer fills
  PosixPortLayer layer(portsWith({{"COM1", pty.slavePath}}));
  std::uint32_t error = 0;
  const PortHandle port = layer.open("COM1", error);
  ASSERT_NE(port, kInvalidPort);
  layer.setTimeouts(port, CommTimeouts{0, 0, 0, 0, 100});
  const std::string big(1 << 20, 'x');
  std::uint32_t written = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(layer.write(port, big, written));
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, big.size());
  EXPECT_GE(took, milliseconds(90));
  EXPECT_LT(took, milliseconds(3000));
  layer.close(port);
}

TEST(PosixPorts, APrinterThatStopsTakingDataEndsTheWriteAfterTheStallTimeOut) {
  // A USB or parallel printer has no write time-out of its own; one out of
  // paper stops taking data. A terminal nobody reads plays that printer.
  for (const char* name : {"USB", "LPT1"}) {
    SCOPED_TRACE(name);
    PseudoTerminal pty;
    PosixPortLayer::Options options = portsWith({{name, pty.slavePath}});
    options.network.stall = milliseconds(150);
    PosixPortLayer layer(std::move(options));
    std::uint32_t error = 0;
    const std::string portName =
        std::string(name) == "USB" ? layer.usbDevicePaths().back() : std::string(name);
    const PortHandle port = layer.open(portName, error);
    ASSERT_NE(port, kInvalidPort);
    const std::string big(1 << 20, 'x');
    std::uint32_t written = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(layer.write(port, big, written));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, big.size());
    EXPECT_GE(took, milliseconds(140));
    EXPECT_LT(took, milliseconds(3000));
    layer.close(port);
  }
}

TEST(PortErrorFromErrno, OnlyAHeldDeviceIsAccessDenied) {
  EXPECT_EQ(portErrorFromErrno(EBUSY), kErrorAccessDenied);
  EXPECT_EQ(portErrorFromErrno(EWOULDBLOCK), kErrorAccessDenied);
  EXPECT_EQ(portErrorFromErrno(ENOENT), kErrorFileNotFound);
  EXPECT_EQ(portErrorFromErrno(ENXIO), kErrorFileNotFound);
  for (int permission : {EACCES, EPERM, EROFS}) {
    EXPECT_NE(portErrorFromErrno(permission), kErrorAccessDenied) << "would be waited for forever";
  }
  EXPECT_NE(portErrorFromErrno(EIO), kErrorAccessDenied) << "EIO is 5 too, but not 'held'";
  EXPECT_EQ(portErrorFromErrno(EIO), kErrorGenFailure);
}

// System calls that fail as a test tells them to, and otherwise act for real.
class FaultySystemCalls final : public SystemCalls {
 public:
  std::vector<int> openErrors;   // errno for the next opens, one each
  std::vector<int> lockErrors;   // errno for the next flocks
  std::vector<int> writeErrors;  // errno for the next writes (0: take at most `writeChunk`)
  std::size_t writeChunk = 0;    // >0: every write takes at most this many bytes
  std::optional<int> modemBits;  // set: TIOCMGET answers these bits
  bool terminal = false;
  std::vector<std::string> calls;

  int openFile(const char* path, int flags) override {
    if (fail(openErrors)) return -1;
    return SystemCalls::openFile(path, flags);
  }
  int lockFile(int fd, int operation) override {
    if (fail(lockErrors)) return -1;
    return SystemCalls::lockFile(fd, operation);
  }
  bool isTerminal(int) override { return terminal; }
  int setExclusive(int, bool on) override {
    calls.push_back(on ? "exclusive on" : "exclusive off");
    return 0;
  }
  int getModemBits(int fd, int& bits) override {
    if (!modemBits) return SystemCalls::getModemBits(fd, bits);
    bits = *modemBits;
    return 0;
  }
  ssize_t writeSome(int fd, const void* data, std::size_t size) override {
    ++writes;
    if (fail(writeErrors)) return -1;
    return SystemCalls::writeSome(fd, data,
                                  writeChunk > 0 && size > writeChunk ? writeChunk : size);
  }
  int closeFile(int fd) override {
    calls.push_back("close");
    return SystemCalls::closeFile(fd);
  }
  int writes = 0;

 private:
  static bool fail(std::vector<int>& errors) {
    if (errors.empty()) return false;
    errno = errors.front();
    errors.erase(errors.begin());
    return errno != 0;
  }
};

TEST(PosixPortFaults, InterruptedOpenAndLockAreRepeated) {
  TempDir dir;
  const fs::path lpt = dir.file("lpt");
  FaultySystemCalls system;
  system.openErrors = {EINTR, EINTR};
  system.lockErrors = {EINTR};
  PosixPortLayer layer(portsWith({{"LPT1", lpt.string()}}), system);
  std::uint32_t error = 0;
  const PortHandle port = layer.open("LPT1", error);
  EXPECT_NE(port, kInvalidPort);
  layer.close(port);
}

TEST(PosixPortFaults, BusyDeviceIsHeldAndIsWaitedFor) {
  TempDir dir;
  const fs::path lpt = dir.file("lpt");
  FaultySystemCalls system;
  system.openErrors = {EBUSY, EBUSY, EBUSY};
  PosixPortLayer layer(portsWith({{"LPT1", lpt.string()}}), system);
  testing::RecordingSleeper sleeper;
  std::string errorText = "untouched";
  const PortHandle port = OpenPrinterPort(layer, sleeper, 0, errorText);
  EXPECT_NE(port, kInvalidPort);
  EXPECT_EQ(sleeper.sleeps().size(), 3u);
  EXPECT_EQ(errorText, "untouched");
  ClosePrinterPort(layer, 0, port);
}

TEST(PosixPortFaults, FileSystemWithoutLocksStillPrints) {
  TempDir dir;
  const fs::path lpt = dir.file("lpt");
  FaultySystemCalls system;
  system.lockErrors = {ENOLCK};
  PosixPortLayer layer(portsWith({{"LPT1", lpt.string()}}), system);
  Worker w(layer);
  EXPECT_EQ(w.worker.run(PrintJob{"job", 0}), JobOutcome::Written);
  EXPECT_EQ(readAll(lpt), std::string("\0job", 4));
}

TEST(PosixPortFaults, ShortAndInterruptedWritesStillDeliverTheWholeJob) {
  TempDir dir;
  const fs::path com = dir.file("com");
  FaultySystemCalls system;
  system.writeChunk = 3;
  system.writeErrors = {EINTR, 0, EAGAIN};
  PosixPortLayer layer(portsWith({{"COM1", com.string()}}), system);
  Worker w(layer);
  EXPECT_EQ(w.worker.run(PrintJob{kJob, 3}), JobOutcome::Written);
  EXPECT_EQ(readAll(com), kJob);
  EXPECT_GE(system.writes, static_cast<int>(kJob.size() / 3) + 2);
  const std::vector<Delivery> deliveries = layer.takeDeliveries();
  ASSERT_EQ(deliveries.size(), 1u);
  EXPECT_TRUE(deliveries[0].complete()) << deliveries[0].failure;
  EXPECT_EQ(deliveries[0].offered, kJob.size());
  EXPECT_EQ(deliveries[0].port, "COM1");
  EXPECT_EQ(deliveries[0].target, com.string());
}

TEST(PosixPortFaults, FailedWriteIsReportedWithTheCountSoFar) {
  TempDir dir;
  const fs::path lpt = dir.file("lpt");
  FaultySystemCalls system;
  PosixPortLayer layer(portsWith({{"LPT1", lpt.string()}}), system);
  std::uint32_t error = 0;
  const PortHandle port = layer.open("LPT1", error);
  ASSERT_NE(port, kInvalidPort);
  layer.setTimeouts(port, kPortTimeouts);
  system.writeChunk = 2;
  system.writeErrors = {0, EIO};
  std::uint32_t written = 0;
  EXPECT_FALSE(layer.write(port, "abcdef", written));
  EXPECT_EQ(written, 2u);
  layer.close(port);
  // What the close records tells the host that the job did not arrive whole.
  const std::vector<Delivery> deliveries = layer.takeDeliveries();
  ASSERT_EQ(deliveries.size(), 1u);
  EXPECT_FALSE(deliveries[0].complete());
  EXPECT_EQ(deliveries[0].offered, 6u);
  EXPECT_EQ(deliveries[0].delivered, 2u);
  EXPECT_NE(deliveries[0].failure.find("Input/output error"), std::string::npos)
      << deliveries[0].failure;
  EXPECT_TRUE(layer.takeDeliveries().empty()) << "each close is told once";
}

TEST(PosixPortFaults, ModemLinesMapToTheStatusBits) {
  TempDir dir;
  const fs::path com = dir.file("com");
  struct Case {
    int bits;
    std::uint32_t status;
  };
  for (const Case& c :
       {Case{0, 0}, Case{TIOCM_CTS, kModemCtsOn}, Case{TIOCM_DSR, kModemDsrOn},
        Case{TIOCM_RNG, kModemRingOn}, Case{TIOCM_CAR, kModemRlsdOn},
        Case{TIOCM_RTS | TIOCM_DTR, 0}, Case{TIOCM_CTS | TIOCM_CAR, kModemCtsOn | kModemRlsdOn}}) {
    FaultySystemCalls system;
    system.modemBits = c.bits;
    PosixPortLayer layer(portsWith({{"COM1", com.string()}}), system);
    std::uint32_t error = 0;
    const PortHandle port = layer.open("COM1", error);
    std::uint32_t status = 12345;
    EXPECT_TRUE(layer.getModemStatus(port, status));
    EXPECT_EQ(status, c.status) << c.bits;
    layer.close(port);
  }
}

TEST(PosixPortFaults, TerminalIsMadeExclusiveWhileOpen) {
  TempDir dir;
  const fs::path com = dir.file("com");
  FaultySystemCalls system;
  system.terminal = true;
  PosixPortLayer layer(portsWith({{"COM1", com.string()}}), system);
  std::uint32_t error = 0;
  const PortHandle port = layer.open("COM1", error);
  ASSERT_NE(port, kInvalidPort);
  EXPECT_EQ(system.calls, std::vector<std::string>{"exclusive on"});
  layer.close(port);
  EXPECT_EQ(system.calls, (std::vector<std::string>{"exclusive on", "exclusive off", "close"}));
}

}  // namespace
}  // namespace tagwright

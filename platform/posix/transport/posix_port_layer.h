#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/transport/port_layer.h"
#include "core/transport/delivery.h"
#include "core/transport/device_map.h"
#include "platform/posix/transport/network_printer.h"
#include "platform/posix/transport/print_server.h"
#include "platform/posix/system_calls.h"

namespace tagwright {

// The system error code (Windows numbering) that the port logic is given
// for a failed open() with this errno. Only a port held by another opener
// is reported as access denied, since that one is waited for without limit;
// a lack of permission is a failure of its own.
std::uint32_t portErrorFromErrno(int error);

// Ports on a POSIX system. Names are resolved through a DeviceMap; USB
// printers are found in sysfs. Opening takes the device for this process
// alone (an exclusive flock, and TIOCEXCL on a terminal), so that a second
// opener, in this process or another, is told "access denied" until the
// first one closes it. Serial set-up maps onto termios; the write honours
// the port's write time-outs.
//
// A port whose device is tcp://HOST[:PORT] is a raw network printer: each
// open is one connection (see NetworkPrinterLink), the serial set-up does
// not apply to it, and its writes are bounded by the stall time-out instead
// of the port's write time-outs. A port whose device is
// cups:QUEUE[@HOST[:PORT]] is a print-server queue: the open reaches the
// server and checks the queue, the close hands the job over (see
// PrintServerJob).
//
// Every close records what that opening delivered (takeDeliveries), so that
// a host can tell a job that reached the printer from one that did not.
class PosixPortLayer final : public PortLayer {
 public:
  struct Options {
    DeviceMap devices;
    std::filesystem::path sysfsRoot = "/sys";
    std::filesystem::path devRoot = "/dev";
    NetworkTimeouts network;
    // Lines for the user while a port is being opened (a busy network
    // printer); none when empty.
    NoticeFunction notice;
    // Told about every write; may be null. Must outlive the layer.
    TransferProgress* progress = nullptr;
    // Print-server queues: follow each job to its end.
    bool waitForQueuedJobs = false;
  };

  explicit PosixPortLayer(Options options, SystemCalls& system = realSystemCalls());
  ~PosixPortLayer() override;
  PosixPortLayer(const PosixPortLayer&) = delete;
  PosixPortLayer& operator=(const PosixPortLayer&) = delete;

  PortHandle open(const std::string& name, std::uint32_t& error) override;
  bool getTimeouts(PortHandle port, CommTimeouts& timeouts) override;
  bool setTimeouts(PortHandle port, const CommTimeouts& timeouts) override;
  bool getModemStatus(PortHandle port, std::uint32_t& status) override;
  bool getCommState(PortHandle port, CommState& state) override;
  bool setupQueues(PortHandle port, std::uint32_t inputSize, std::uint32_t outputSize) override;
  bool setCommState(PortHandle port, const CommState& state) override;
  bool setCommMask(PortHandle port, std::uint32_t mask) override;
  bool purge(PortHandle port, std::uint32_t flags) override;
  bool write(PortHandle port, std::string_view bytes, std::uint32_t& written) override;
  bool setBreak(PortHandle port) override;
  bool close(PortHandle port) override;
  std::vector<std::string> usbDevicePaths() override;

  // What each opening closed since the last call delivered, in the order
  // of the closes.
  std::vector<Delivery> takeDeliveries();
  // The title of the jobs handed to print servers from now on.
  void setJobTitle(std::string title);

 private:
  struct OpenPort {
    CommTimeouts timeouts;
    bool exclusiveSet = false;
    std::shared_ptr<NetworkPrinterLink> network;  // set for a network printer
    std::shared_ptr<PrintServerJob> serverJob;    // set for a print-server queue
    Delivery delivery;
  };

  std::optional<std::string> pathForName(const std::string& name) const;
  PortHandle openNetworkPrinter(const std::string& name, const std::string& device,
                                std::uint32_t& error);
  PortHandle openPrintServerQueue(const std::string& name, const std::string& device,
                                  std::uint32_t& error);
  PortHandle remember(PortHandle port, OpenPort state);
  std::shared_ptr<PrintServerJob> serverJobOf(PortHandle port) const;
  std::shared_ptr<NetworkPrinterLink> networkLinkOf(PortHandle port) const;
  bool writeToDevice(PortHandle port, const CommTimeouts& timeouts, std::string_view bytes,
                     std::uint32_t& written, std::string& failure);
  bool isOpen(PortHandle port) const;
  std::optional<CommTimeouts> timeoutsOf(PortHandle port) const;

  const Options options_;
  SystemCalls& system_;
  mutable std::mutex lock_;  // guards open_, usbNodes_, deliveries_, jobTitle_
  std::map<PortHandle, OpenPort> open_;
  std::map<std::string, std::string> usbNodes_;  // device path -> node, from the last search
  std::vector<Delivery> deliveries_;             // guarded by lock_
  std::string jobTitle_;                         // guarded by lock_
};

}  // namespace tagwright

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/transport/device_target.h"
#include "core/transport/network_timeouts.h"
#include "platform/win32/transport/device_entries.h"
#include "platform/win32/transport/mapped_port.h"

namespace tagwright {

// The device map of the component: the process map, then the user's and
// the machine's registry entries, read again at every open. A target is
// opened as its kind says:
//   tcp://   one Winsock connection per job (WinsockPrinterLink): the
//            connect, busy and stall time-outs, the back-off of a busy
//            printer, the half-close, and only acknowledged bytes counted;
//   printer: one RAW document per job through the spooler;
//   file:    each job appended to the file.
// An open that fails gives the system's error code (10061 for a refused
// connection, 1801 for an unknown queue); an entry that is not one of the
// three forms gives ERROR_INVALID_NAME, one that is no string the
// registry's own code, so that the port's prompt reports either.
class DeviceMapPorts final : public MappedPorts {
 public:
  using Tell = std::function<void(std::string_view)>;

  // `tell` shows a failed job's message to the user; it may be empty.
  DeviceMapPorts(const ProcessDeviceMap& process, Tell tell)
      : process_(process), tell_(std::move(tell)) {}

  bool isMapped(std::string_view portName) override;
  MappedOpen open(const std::string& portName) override;
  void reportFailure(const Delivery& delivery) override;

 private:
  const ProcessDeviceMap& process_;
  Tell tell_;
};

// The text that reportFailure shows for a job that did not arrive whole.
std::string failedJobText(const Delivery& delivery);

// Opens one target for one job. Null with `error` set when it cannot be.
std::unique_ptr<MappedPort> openFileTarget(const std::string& portName, const DeviceTarget& target,
                                           std::uint32_t& error);
std::unique_ptr<MappedPort> openTcpTarget(const std::string& portName, const DeviceTarget& target,
                                          const NetworkTimeouts& timeouts, std::uint32_t& error);
std::unique_ptr<MappedPort> openQueueTarget(const std::string& portName, const DeviceTarget& target,
                                            std::uint32_t& error);

}  // namespace tagwright

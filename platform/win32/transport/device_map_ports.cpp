#include "platform/win32/transport/device_map_ports.h"

#include <utility>

namespace tagwright {

bool DeviceMapPorts::isMapped(std::string_view portName) {
  return findDeviceEntry(process_, portName).has_value();
}

MappedOpen DeviceMapPorts::open(const std::string& portName) {
  MappedOpen opened;
  const std::optional<DeviceEntry> entry = findDeviceEntry(process_, portName);
  if (!entry) return opened;
  opened.mapped = true;
  if (entry->error != 0) {
    opened.error = entry->error;
    return opened;
  }
  const Result<DeviceTarget> target = parseDeviceTarget(entry->text);
  if (!target) {
    opened.error = ERROR_INVALID_NAME;
    return opened;
  }
  switch (target.value().kind) {
    case DeviceTarget::Kind::File:
      opened.port = openFileTarget(portName, target.value(), opened.error);
      break;
    case DeviceTarget::Kind::Tcp:
      opened.port = openTcpTarget(portName, target.value(), process_.timeouts(), opened.error);
      break;
    case DeviceTarget::Kind::PrinterQueue:
      opened.port = openQueueTarget(portName, target.value(), opened.error);
      break;
  }
  return opened;
}

std::string failedJobText(const Delivery& delivery) {
  std::string text =
      delivery.port + " (" + delivery.target + "): the job did not reach the printer whole";
  if (!delivery.failure.empty()) text += ": " + delivery.failure;
  text += ".\r\n";
  if (delivery.countKnown) {
    text += std::to_string(delivery.delivered) + " of " + std::to_string(delivery.offered) +
            " bytes arrived. ";
  }
  text += "The job is not sent again.";
  return text;
}

void DeviceMapPorts::reportFailure(const Delivery& delivery) {
  if (tell_) tell_(failedJobText(delivery));
}

}  // namespace tagwright

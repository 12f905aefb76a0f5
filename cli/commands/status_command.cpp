#include "cli/commands/status_command.h"

#include "cli/app/exit_codes.h"
#include "core/transport/device_map.h"

namespace tagwright::cli {
namespace {

// How the USB printer is named when it is asked: its device node on Linux,
// the device path `devices` lists on Windows.
#ifdef _WIN32
constexpr const char* kUsbDeviceHint =
    "status: give the USB printer's device path as `tagwright devices` lists it, e.g. "
    "--device USB=\\\\?\\usb#vid_195f&pid_0001#...";
#else
constexpr const char* kUsbDeviceHint =
    "status: give the USB printer's node, e.g. --device USB=/dev/usb/lp0";
#endif

}  // namespace

Result<StatusTarget> statusTarget(const StatusOptions& options) {
  using Found = Result<StatusTarget>;
  const DeviceList& given = options.ports.devices;
  std::string port;
  if (options.port) {
    port = *options.port;
  } else if (given.size() == 1) {
    port = given.front().first;
  } else {
    return Found::failure(given.empty()
                              ? "status: which printer? give --device PORT=PATH or a port name"
                              : "status: several ports given; name the one to ask (COM1, ...)");
  }
  DeviceMap devices;
  for (const auto& [name, path] : given) devices.assign(name, path);
  std::optional<std::string> device = port == "USB" ? devices.usbPrinter() : devices.pathFor(port);
  if (!device) {
    return Found::failure(kUsbDeviceHint);
  }
  return StatusTarget{port, *device};
}

NetworkTimeouts statusNetworkTimeouts(const PortOptions& ports,
                                      std::optional<std::chrono::milliseconds> statusTimeout) {
  NetworkTimeouts timeouts;
  if (ports.connectTimeout) timeouts.connect = *ports.connectTimeout;
  // A printer busy with another sender is not waited for long: the
  // question is how it is now.
  timeouts.busy = ports.busyTimeout.value_or(answerTimeout(statusTimeout));
  return timeouts;
}

std::chrono::milliseconds answerTimeout(std::optional<std::chrono::milliseconds> statusTimeout) {
  return statusTimeout.value_or(std::chrono::milliseconds(2000));
}

int statusCommand(const StatusOptions& options, std::ostream& out, std::ostream& err) {
  Result<StatusTarget> target = statusTarget(options);
  if (!target) {
    err << "tagwright: " << target.error() << '\n';
    return kExitUsage;
  }
  const StatusTarget& where = target.value();
  const std::string name = where.port + " (" + where.device + ")";
  if (const Status answers = canAnswer(where.device); !answers) {
    err << "tagwright: " << name << " cannot answer status queries: " << answers.error() << '\n';
    return kExitUsage;
  }
  Result<std::unique_ptr<StatusChannel>> channel = openStatusChannel(
      where.port, where.device, statusNetworkTimeouts(options.ports, options.statusTimeout));
  if (!channel) {
    err << "tagwright: " << channel.error() << '\n';
    return kExitNoAnswer;
  }
  const std::chrono::milliseconds wait = answerTimeout(options.statusTimeout);
  const StatusAnswer answer = askStatus(*channel.value(), wait, true);
  switch (answer.kind) {
    case StatusAnswer::Kind::Answered:
      out << name << ": " << describeStatus(answer.status) << '\n';
      return isFault(answer.status.code) ? kExitJobsDropped : kExitOk;
    case StatusAnswer::Kind::Garbled:
      err << "tagwright: " << name << " answered \"" << answer.detail
          << "\", which is not a status\n";
      return kExitNoAnswer;
    case StatusAnswer::Kind::Failed:
      err << "tagwright: " << name << ": " << answer.detail << '\n';
      return kExitNoAnswer;
    case StatusAnswer::Kind::Silent: break;
  }
  err << "tagwright: " << name << ": no answer within " << wait.count()
      << " ms: " << silenceReasons() << '\n';
  return kExitNoAnswer;
}

}  // namespace tagwright::cli

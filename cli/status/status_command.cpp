#include "cli/status/status_command.h"

#include "cli/app/exit_codes.h"
#include "platform/posix/transport/device_map.h"

namespace tagwright::cli {

Result<StatusTarget> statusTarget(const Options& options) {
  using Found = Result<StatusTarget>;
  std::string port;
  if (!options.operands.empty()) {
    const std::optional<std::string> named = canonicalPortName(options.operands.front());
    if (!named) {
      return Found::failure("status: unknown port \"" + options.operands.front() +
                            "\" (LPT1..LPT3, COM1..COM9 or USB)");
    }
    port = *named;
  } else if (options.devices.size() == 1) {
    port = options.devices.front().first;
  } else {
    return Found::failure(options.devices.empty()
                              ? "status: which printer? give --device PORT=PATH or a port name"
                              : "status: several ports given; name the one to ask (COM1, ...)");
  }
  DeviceMap devices;
  for (const auto& [name, path] : options.devices) devices.assign(name, path);
  std::optional<std::string> device = port == "USB" ? devices.usbPrinter() : devices.pathFor(port);
  if (!device) {
    return Found::failure("status: give the USB printer's node, e.g. --device USB=/dev/usb/lp0");
  }
  return StatusTarget{port, *device};
}

NetworkTimeouts statusNetworkTimeouts(const Options& options) {
  NetworkTimeouts timeouts;
  if (options.connectTimeout) timeouts.connect = *options.connectTimeout;
  // A printer busy with another sender is not waited for long: the
  // question is how it is now.
  timeouts.busy = options.busyTimeout.value_or(answerTimeout(options));
  return timeouts;
}

std::chrono::milliseconds answerTimeout(const Options& options) {
  return options.statusTimeout.value_or(std::chrono::milliseconds(2000));
}

int statusCommand(const Options& options, std::ostream& out, std::ostream& err) {
  Result<StatusTarget> target = statusTarget(options);
  if (!target) {
    err << "tagwright: " << target.error() << '\n';
    return kExitUsage;
  }
  const StatusTarget& where = target.value();
  const std::string name = where.port + " (" + where.device + ")";
  if (std::optional<std::string> why = whyNoAnswersFrom(where.device)) {
    err << "tagwright: " << name << " cannot answer status queries: " << *why << '\n';
    return kExitUsage;
  }
  Result<std::unique_ptr<StatusChannel>> channel =
      openStatusChannel(where.port, where.device, statusNetworkTimeouts(options));
  if (!channel) {
    err << "tagwright: " << channel.error() << '\n';
    return kExitNoAnswer;
  }
  const std::chrono::milliseconds wait = answerTimeout(options);
  const StatusAnswer answer = askStatus(*channel.value(), wait, true);
  switch (answer.kind) {
    case StatusAnswer::Kind::kAnswered:
      out << name << ": " << describeStatus(answer.status) << '\n';
      return isFault(answer.status.code) ? kExitJobsDropped : kExitOk;
    case StatusAnswer::Kind::kGarbled:
      err << "tagwright: " << name << " answered \"" << answer.detail
          << "\", which is not a status\n";
      return kExitNoAnswer;
    case StatusAnswer::Kind::kFailed:
      err << "tagwright: " << name << ": " << answer.detail << '\n';
      return kExitNoAnswer;
    case StatusAnswer::Kind::kSilent: break;
  }
  err << "tagwright: " << name << ": no answer within " << wait.count()
      << " ms: " << silenceReasons() << '\n';
  return kExitNoAnswer;
}

}  // namespace tagwright::cli

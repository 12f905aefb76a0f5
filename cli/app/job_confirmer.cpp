#include "cli/app/job_confirmer.h"

#include "cli/commands/status_command.h"
#include "core/transport/printer_port.h"

namespace tagwright::cli {
namespace {

// What a USB printer's job needs to be asked about: on Linux its device
// node; on Windows the component finds the printer by its ids, where this
// program cannot follow it, so the printer is asked by the device path that
// `devices` lists, or its jobs go to a network printer that answers.
#ifdef _WIN32
constexpr const char* kUsbConfirmHint =
    "the component finds the USB printer by its ids, which this program cannot ask; ask it with "
    "status --device USB=PATH, PATH as `tagwright devices` lists it, or print to a network "
    "printer with --device USB=tcp://HOST";
#else
constexpr const char* kUsbConfirmHint =
    "the USB printer is asked through its node; give --device USB=/dev/usb/lpN";
#endif

}  // namespace

JobConfirmer::JobConfirmer(DeviceMap devices, NetworkTimeouts network, ConfirmTimes times)
    : devices_(std::move(devices)), network_(network), times_(times) {}

JobOutcome JobConfirmer::confirm(std::int32_t portIndex, std::uint64_t jobNumber,
                                 const Say& say) const {
  const std::string port = portIndex == kUsbPortIndex ? "USB" : portNameForIndex(portIndex);
  const std::string job = "job " + std::to_string(jobNumber) + " on " + port;
  const std::optional<std::string> device =
      portIndex == kUsbPortIndex ? devices_.usbPrinter() : devices_.pathFor(port);
  if (!device) {
    say(job + ": not confirmed: " + kUsbConfirmHint);
    return JobOutcome::Dropped;
  }
  Result<std::unique_ptr<StatusChannel>> channel = openStatusChannel(port, *device, network_);
  if (!channel) {
    say(job + ": not confirmed: " + channel.error());
    return JobOutcome::Dropped;
  }
  const Confirmation result = waitUntilPrinted(*channel.value(), times_);
  if (result.printed) {
    say(job + ": printed (00,00000)");
    return JobOutcome::Written;
  }
  say(job + ": not printed: " + result.reason);
  return JobOutcome::Dropped;
}

Status canConfirm(const DeliveryOptions& options) {
  if (!options.confirm) return Status::success();
  if (options.output) {
    return Status::failure(
        "--confirm asks the printer, and --output writes to a file, which cannot answer");
  }
  for (const auto& [port, device] : options.ports.devices) {
    if (const Status answers = canAnswer(device); !answers) {
      return Status::failure("--confirm cannot ask " + port + " (" + device +
                             "): " + answers.error());
    }
  }
  return Status::success();
}

ConfirmTimes confirmTimes(std::optional<std::chrono::milliseconds> statusTimeout) {
  ConfirmTimes times;
  times.answer = answerTimeout(statusTimeout);
  return times;
}

}  // namespace tagwright::cli

#include "cli/com/job_confirmation.h"

#include "cli/app/job_confirmer.h"
#include "cli/commands/status_command.h"
#include "core/transport/device_target.h"
#include "platform/win32/transport/device_entries.h"
#include "windows/module/process_devices.h"

namespace tagwright::cli {
namespace {

constexpr const char* kPortNames[] = {"LPT1", "LPT2", "LPT3", "COM1", "COM2", "COM3", "COM4",
                                      "COM5", "COM6", "COM7", "COM8", "COM9", "USB"};

WatchJobsFunction watchExport() {
  HMODULE module = ::GetModuleHandleW(L"Tagwright.dll");
  if (module == nullptr) return nullptr;
  return reinterpret_cast<WatchJobsFunction>(
      reinterpret_cast<void*>(::GetProcAddress(module, kWatchJobsExport)));
}

void WINAPI onJobEnded(void* context, LONG port, BOOL reached) {
  // Nothing may leave this call into the component's worker.
  try {
    static_cast<JobConfirmation*>(context)->jobEnded(static_cast<std::int32_t>(port),
                                                     reached != FALSE);
  } catch (...) {
  }
}

}  // namespace

DeviceMap confirmationDevices(const DeviceList& given) {
  DeviceMap devices(DeviceMap::Defaults::Windows);
  // This program's own process map is empty: the lookup reads the registry.
  const ProcessDeviceMap none;
  for (const char* port : kPortNames) {
    const std::optional<DeviceEntry> entry = findDeviceEntry(none, port);
    if (!entry || entry->error != 0) continue;
    const Result<DeviceTarget> target = parseDeviceTarget(entry->text);
    devices.assign(port, target ? target.value().text() : entry->text);
  }
  for (const auto& [port, target] : given) devices.assign(port, target);
  return devices;
}

JobConfirmation::JobConfirmation(DeliveryOptions options, std::ostream& err)
    : options_(std::move(options)), err_(err) {}

JobConfirmation::~JobConfirmation() { static_cast<void>(finish()); }

Status JobConfirmation::start() {
  const WatchJobsFunction watch = watchExport();
  if (watch == nullptr) {
    return Status::failure(
        "the registered Tagwright.dll does not tell when its jobs end (it is older than this "
        "program), so --confirm cannot be used with it");
  }
  if (FAILED(watch(&onJobEnded, this))) {
    return Status::failure("the component refused to tell when its jobs end");
  }
  watching_ = true;
  return Status::success();
}

JobTally JobConfirmation::finish() {
  if (watching_) {
    // Returns once a call under way has returned.
    if (const WatchJobsFunction watch = watchExport()) watch(nullptr, nullptr);
    watching_ = false;
  }
  std::lock_guard<std::mutex> guard(lock_);
  return tally_;
}

void JobConfirmation::jobEnded(std::int32_t port, bool reached) {
  std::uint64_t number = 0;
  {
    std::lock_guard<std::mutex> guard(lock_);
    number = ++jobs_;
  }
  JobOutcome outcome = JobOutcome::Dropped;
  if (reached) {
    // The map is read again for each job, as the component reads it.
    const JobConfirmer confirmer(confirmationDevices(options_.ports.devices),
                                 statusNetworkTimeouts(options_.ports, options_.statusTimeout),
                                 confirmTimes(options_.statusTimeout));
    outcome = confirmer.confirm(port, number, [this](const std::string& text) { say(text); });
  }
  std::lock_guard<std::mutex> guard(lock_);
  tally_.count(outcome);
}

void JobConfirmation::say(const std::string& text) {
  std::lock_guard<std::mutex> guard(lock_);
  err_ << "tagwright: " << text << '\n' << std::flush;
}

}  // namespace tagwright::cli

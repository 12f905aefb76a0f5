#include "windows/module/add_in_module.h"

#include <memory>

#include "core/transport/pending_jobs.h"
#include "core/transport/print_abort.h"
#include "platform/win32/transport/device_map_ports.h"
#include "platform/win32/transport/message_box_prompt.h"
#include "platform/win32/transport/win32_print_runner.h"
#include "platform/win32/win32_code_pages.h"

namespace tagwright::com {
namespace {

// The print runner of the module, shared by all its add-in objects. It is
// made on first use, once the module's handle is known (its message box
// carries the module's name), and never destroyed: a job may still be
// running on a pool thread while the process ends. Its ports consult the
// device map: the process map handed to the module, then the registry.
JobRunner& modulePrintRunner(HINSTANCE instance) {
  static MessageBoxPrompt* box = new MessageBoxPrompt(instance);
  static DeviceMapPorts* devices =
      new DeviceMapPorts(processDeviceMap(), [](std::string_view text) { box->tell(text); });
  static JobRunner* runner = makeWin32PrintRunner(instance, devices).release();
  return *runner;
}

}  // namespace

bool AddInModule::canUnload() const {
  return lockCount() == 0 && processPendingJobs().count() == 0;
}

AddInServices AddInModule::services() {
  static const Win32CodePages codePages;
  return AddInServices{codePages, modulePrintRunner(instance_), processPrintAbort()};
}

AddInModule& addInModule() noexcept {
  static AddInModule module;
  return module;
}

}  // namespace tagwright::com

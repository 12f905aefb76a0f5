// tagwright.exe: the command-line host over the registered component. For
// run, the component is created by its ProgID and driven through its COM
// interfaces exactly as the host application drives it, with the same
// scripts and the same profile file as the native program; print jobs go to
// the ports through the component's own print worker. preview and check send
// nothing, so they run the scripts through the component's core linked into
// the program instead; so do serve's pictures, while its Print goes through
// the DLL as run does.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "addin_interfaces.h"
#include "cli/app/component_back_end.h"
#include "cli/app/job_confirmer.h"
#include "cli/app/linked_core.h"
#include "cli/app/linked_session.h"
#include "cli/app/mirrored_session.h"
#include "cli/app/program.h"
#include "cli/app/serve_command.h"
#include "cli/com/com_script_host.h"
#include "cli/com/job_confirmation.h"
#include "cli/commands/devices_listing.h"
#include "cli/commands/printer_command.h"
#include "cli/commands/status_command.h"
#include "cli/com/profile_connection.h"
#include "cli/com/registry_device_map.h"
#include "core/text/utf8.h"
#include "core/transport/device_target.h"
#include "platform/win32/named_code_pages.h"
#include "platform/win32/transport/device_listing_win32.h"
#include "platform/win32/transport/winsock_start.h"
#include "windows/com/com_ptr.h"
#include "windows/module/process_devices.h"

namespace tagwright::cli {
namespace {

// COM for the main thread, for as long as a session lasts.
class ComApartment {
 public:
  ComApartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  HRESULT result() const { return hr_; }

 private:
  HRESULT hr_;
};

std::string hresultText(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

struct Component {
  com::com_ptr<IInitDone> initDone;
  com::com_ptr<ILanguageExtender> extender;
};

Result<Component> createComponent() {
  CLSID clsid{};
  HRESULT hr = ::CLSIDFromProgID(L"AddIn.Tagwright", &clsid);
  if (FAILED(hr)) {
    return Result<Component>::failure("the component AddIn.Tagwright is not registered (" +
                                      hresultText(hr) +
                                      "); register it with: regsvr32 Tagwright.dll");
  }
  Component c;
  hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IInitDone),
                          c.initDone.put_void());
  if (FAILED(hr)) {
    return Result<Component>::failure("the component AddIn.Tagwright cannot be created (" +
                                      hresultText(hr) + ")");
  }
  c.extender = com::queryInterface<ILanguageExtender>(c.initDone.get());
  if (!c.extender) {
    return Result<Component>::failure("the component does not offer ILanguageExtender");
  }
  return c;
}

// The component's print jobs run on its own worker; the module answers
// S_FALSE to DllCanUnloadNow while any is queued or running, so the
// program waits for that before it ends.
void waitForPrintJobs() {
  HMODULE module = ::GetModuleHandleW(L"Tagwright.dll");
  if (module == nullptr) return;
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  auto canUnload = reinterpret_cast<CanUnload>(
      reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));
  if (canUnload == nullptr) return;
  while (canUnload() != S_OK) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

DWORD milliseconds(const std::optional<std::chrono::milliseconds>& timeout) {
  return timeout ? static_cast<DWORD>(std::max<std::int64_t>(timeout->count(), 1)) : 0;
}

// Hands the component run --device's map, for this process only, with the
// network printers' time-outs; the user's and the machine's maps stay as
// they are. Nothing is handed over when there is nothing to hand.
Status handProcessDevices(const PortOptions& ports) {
  if (ports.devices.empty() && !ports.connectTimeout && !ports.busyTimeout && !ports.writeTimeout) {
    return Status::success();
  }
  HMODULE module = ::GetModuleHandleW(L"Tagwright.dll");
  auto use = module == nullptr
                 ? nullptr
                 : reinterpret_cast<UseProcessDevicesFunction>(
                       reinterpret_cast<void*>(::GetProcAddress(module, kUseProcessDevicesExport)));
  if (use == nullptr) {
    return Status::failure(
        "the registered Tagwright.dll takes no --device map (it is older than this program)");
  }
  std::u16string entries;
  for (const auto& [port, target] : ports.devices) {
    entries += utf8ToUtf16(port + "=" + target);
    entries += u'\0';
  }
  entries += u'\0';
  const HRESULT hr =
      use(reinterpret_cast<const wchar_t*>(entries.c_str()), milliseconds(ports.connectTimeout),
          milliseconds(ports.busyTimeout), milliseconds(ports.writeTimeout));
  if (FAILED(hr))
    return Status::failure("the component refused the --device map (" + hresultText(hr) + ")");
  return Status::success();
}

// The registered component in this thread's apartment. Members are
// destroyed in reverse order: the component before the apartment.
class ComSession final : public ComponentSession {
 public:
  explicit ComSession(std::unique_ptr<ComApartment> apartment) : apartment_(std::move(apartment)) {}

  // The component, connected to `profile` when there is one, its jobs
  // confirmed by `confirmation` when there is one; the failure says why it
  // cannot be had.
  Status connect(FileProfile* profile, const PortOptions& ports,
                 std::unique_ptr<JobConfirmation> confirmation) {
    Result<Component> component = createComponent();
    if (!component) return Status::failure(component.error());
    if (const Status handed = handProcessDevices(ports); !handed) return handed;
    if (confirmation) {
      if (const Status started = confirmation->start(); !started) return started;
      confirmation_ = std::move(confirmation);
    }
    com::com_ptr<IDispatch> connection;
    if (profile) {
      connection = com::com_ptr<IDispatch>::adopt(
          static_cast<IDispatch*>(ProfileConnection::create(*profile)));
      if (!connection) return Status::failure("out of memory");
    }
    host_ = std::make_unique<ComScriptHost>(component.value().initDone, component.value().extender,
                                            connection);
    return Status::success();
  }

  ScriptHost& host() override { return *host_; }

  // The worker reports a job it cannot write with its own message box and
  // keeps no count the program could read: only run --confirm, told of
  // each job's end, counts them.
  JobTally waitForJobs() override {
    host_.reset();
    waitForPrintJobs();
    return confirmation_ ? confirmation_->finish() : JobTally{};
  }
  bool countsJobs() const override { return false; }

 private:
  std::unique_ptr<ComApartment> apartment_;
  std::unique_ptr<JobConfirmation> confirmation_;  // run --confirm; outlives the host
  std::unique_ptr<ComScriptHost> host_;
};

class ComBackEnd final : public ComponentBackEnd {
 public:
  // %APPDATA%\Tagwright\profile.
  std::optional<std::string> defaultProfilePath() const override {
    if (const char* appData = std::getenv("APPDATA"); appData && *appData) {
      return std::string(appData) + "\\Tagwright\\profile";
    }
    return std::nullopt;
  }
  std::string_view profileVariable() const override { return "APPDATA"; }

  Status checkRunOptions(const RunOptions& options) override {
    const DeliveryOptions& delivery = options.delivery;
    if (delivery.output || delivery.onPortError) {
      return Status::failure(
          "--output and --on-port-error belong to the native program; here the component "
          "prints through its own ports and asks with its own message box");
    }
    for (const auto& [port, target] : delivery.ports.devices) {
      if (!isMappablePortName(port)) {
        return Status::failure("--device " + port + "=" + target +
                               ": the component maps LPT1..LPT3, COM1..COM9 and USB");
      }
      if (Result<DeviceTarget> parsed = parseDeviceTarget(target); !parsed) {
        return Status::failure("--device " + port + "=" + target + ": " + parsed.error());
      }
    }
    // --confirm asks the printer behind each port when the component's
    // worker has written a job to it.
    if (const Status confirmable = canConfirm(delivery); !confirmable) return confirmable;
    if (delivery.wait) {
      return Status::failure(
          "--wait is for the print-server queues of the native program; here a printer queue "
          "takes the job from the component's own worker");
    }
    ports_ = delivery.ports;
    confirm_ = delivery.confirm ? std::optional<DeliveryOptions>(delivery) : std::nullopt;
    return Status::success();
  }

  Result<std::unique_ptr<ComponentSession>> open(const CodePageNames& names, FileProfile* profile,
                                                 std::ostream& errors,
                                                 JobRouting routing) override {
    if (profile && !routing.delivery) {
      // preview and check send nothing: they run the script through the
      // component's core linked into this program, the same code as the
      // DLL, with Windows' own code-page conversions.
      return openLinkedSession(core_.pagesFor(names), profile, nullptr, routing.preview);
    }
    auto apartment = std::make_unique<ComApartment>();
    if (FAILED(apartment->result())) {
      return Result<std::unique_ptr<ComponentSession>>::failure(
          "COM cannot start (" + hresultText(apartment->result()) + ")");
    }
    auto session = std::make_unique<ComSession>(std::move(apartment));
    std::unique_ptr<JobConfirmation> confirmation;
    if (confirm_ && routing.delivery) {
      confirmation = std::make_unique<JobConfirmation>(*confirm_, errors);
    }
    if (const Status connected = session->connect(profile, ports_, std::move(confirmation));
        !connected) {
      return Result<std::unique_ptr<ComponentSession>>::failure(connected.error());
    }
    if (profile && routing.preview) {
      // run --preview: the DLL's worker sends the jobs where this program
      // cannot see them; the linked core, fed the same calls, draws them.
      return MirroredSession::open(std::move(session), profile->path(), core_.pagesFor(names),
                                   *routing.preview);
    }
    return std::unique_ptr<ComponentSession>(std::move(session));
  }

  // Asks the printer behind a port: a network printer (tcp://) or a COM port.
  int printerStatus(const StatusOptions& options, std::ostream& out, std::ostream& err) override {
    return statusCommand(options, out, err);
  }

  // The designer: its pictures and findings through the linked core, as
  // preview and check; Print through the registered DLL, as run.
  int designer(const ServeOptions& options, std::ostream& out, std::ostream& err) override {
    return serveCommand(options, *this, out, err);
  }
  bool appliesPortErrorPolicy() const override { return false; }

  // The virtual printer, as a network printer on Winsock.
  int virtualPrinter(const printer::PrinterOptions& options, std::ostream& out,
                     std::ostream& err) override {
    Result<win32::unique_winsock> winsock = win32::startWinsock();
    if (!winsock) {
      err << "tagwright: printer: " << winsock.error() << '\n';
      return kExitUsage;
    }
    return printer::printerCommand(options, out, err);
  }

  // The ports the component opens by itself, the USB printer it finds by
  // its ids, and the printer queues of this machine.
  // The user's map in the registry, which the component reads itself at
  // every open; status looks the port up in it.
  DeviceMapStore* deviceMapStore() const override { return &devices_; }

  Result<std::string> listDevices(const DevicesOptions&) const override {
    return devicesListing(listWindowsDevices(), listWindowsPrinterQueues(), QueueOwner::Windows);
  }

  Result<std::unique_ptr<LabelPreview>> makePreview(const DrawingOptions& drawing,
                                                    const std::string& folderOrFile,
                                                    std::ostream& out,
                                                    std::ostream& err) const override {
    return core_.makePreview(drawing, folderOrFile, out, err);
  }

  Result<std::unique_ptr<CheckWatch>> makeCheckWatch(const DrawingOptions& drawing) override {
    return core_.makeCheckWatch(drawing);
  }

  std::unique_ptr<CodePages> codePages(const std::string& ansi,
                                       const std::string& oem) const override {
    return core_.codePages(ansi, oem);
  }

 private:
  PortOptions ports_;                       // run's --device map and time-outs, for the component
  std::optional<DeliveryOptions> confirm_;  // run --confirm
  mutable RegistryDeviceMapStore devices_;
  LinkedCore core_{[](const std::string& ansi, const std::string& oem) {
    return std::unique_ptr<CodePages>(std::make_unique<Win32NamedCodePages>(ansi, oem));
  }};
};

}  // namespace
}  // namespace tagwright::cli

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::u16string text(reinterpret_cast<const char16_t*>(argv[i]));
    args.push_back(tagwright::toUtf8(text));
  }
  tagwright::cli::ComBackEnd backEnd;
  return tagwright::cli::runProgram(args, backEnd, std::cout, std::cerr);
}

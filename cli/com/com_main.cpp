// tagwright.exe: the command-line host over the registered component. The
// component is created by its ProgID and driven through its COM interfaces
// exactly as the host application drives it, with the same scripts and the
// same profile file as the native program; print jobs go to the ports
// through the component's own print worker.
#include <windows.h>
#include <objbase.h>

#include <chrono>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "addin_interfaces.h"
#include "cli/app/exit_codes.h"
#include "cli/app/options.h"
#include "cli/app/run_command.h"
#include "cli/app/script_files.h"
#include "cli/app/version.h"
#include "cli/com/com_script_host.h"
#include "cli/com/profile_connection.h"
#include "cli/commands/command_dump.h"
#include "cli/commands/names_listing.h"
#include "cli/commands/settings_command.h"
#include "cli/profile/atomic_file.h"
#include "cli/profile/file_profile.h"
#include "cli/script/utf8.h"
#include "windows/com/com_ptr.h"

namespace tagwright::cli {
namespace {

// COM for the main thread, for as long as the program runs.
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
  std::string error;
};

Component createComponent() {
  Component c;
  CLSID clsid{};
  HRESULT hr = ::CLSIDFromProgID(L"AddIn.Tagwright", &clsid);
  if (FAILED(hr)) {
    c.error = "the component AddIn.Tagwright is not registered (" + hresultText(hr) +
              "); register it with: regsvr32 Tagwright.dll";
    return c;
  }
  hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IInitDone),
                          c.initDone.put_void());
  if (FAILED(hr)) {
    c.error = "the component AddIn.Tagwright cannot be created (" + hresultText(hr) + ")";
    return c;
  }
  c.extender = com::queryInterface<ILanguageExtender>(c.initDone.get());
  if (!c.extender) c.error = "the component does not offer ILanguageExtender";
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

std::optional<std::string> profilePath(const Options& options) {
  if (options.profile) return options.profile;
  return defaultProfilePath();
}

int run(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.output || !options.devices.empty() || options.onPortError) {
    err << "tagwright: --output, --device and --on-port-error belong to the native program; "
           "here the component prints through its own ports and asks with its own message box\n";
    return kExitUsage;
  }
  auto prepared = prepareRun(options, profilePath(options), "APPDATA", err);
  if (auto* failed = std::get_if<ExitCode>(&prepared)) return *failed;
  RunInputs& inputs = std::get<RunInputs>(prepared);
  FileProfile& profile = *inputs.profile;
  ComApartment apartment;
  if (FAILED(apartment.result())) {
    err << "tagwright: COM cannot start (" << hresultText(apartment.result()) << ")\n";
    return kExitUsage;
  }
  ExitCode code = kExitOk;
  {
    Component component = createComponent();
    if (!component.error.empty()) {
      err << "tagwright: " << component.error << '\n';
      return kExitUsage;
    }
    com::com_ptr<IDispatch> connection =
        com::com_ptr<IDispatch>::adopt(static_cast<IDispatch*>(ProfileConnection::create(profile)));
    if (!connection) {
      err << "tagwright: out of memory\n";
      return kExitUsage;
    }
    ComScriptHost host(component.initDone, component.extender, connection);
    code = runScripts(host, profile, inputs.scripts, out, err);
  }
  waitForPrintJobs();
  return code;
}

int names(std::ostream& out, std::ostream& err) {
  ComApartment apartment;
  Component component = createComponent();
  if (!component.error.empty()) {
    err << "tagwright: " << component.error << '\n';
    return kExitUsage;
  }
  ComScriptHost host(component.initDone, component.extender, nullptr);
  out << namesListing(host);
  return kExitOk;
}

int program(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  OptionsParse parsed = parseOptions(args);
  if (parsed.error) {
    err << "tagwright: " << *parsed.error << '\n';
    return kExitUsage;
  }
  const Options& options = parsed.options;
  if (options.help) {
    out << usageText();
    return kExitOk;
  }
  if (options.version) {
    out << "tagwright " << kTagwrightVersion << '\n';
    return kExitOk;
  }
  if (options.command == "names") return names(out, err);
  if (options.command == "settings") {
    std::optional<std::string> path = profilePath(options);
    if (!path) {
      err << "tagwright: no settings profile: give --profile FILE\n";
      return kExitUsage;
    }
    FileProfile profile(*path);
    SettingsOutcome outcome = settingsCommand(profile, options.operands);
    if (outcome.error) {
      err << "tagwright: " << *outcome.error << '\n';
      return outcome.usageError ? kExitUsage : kExitProfile;
    }
    out << "# " << *path << '\n' << outcome.shown;
    return kExitOk;
  }
  if (options.command == "dump") {
    // Without iconv the bytes above 127 are shown as they are, \xNN.
    FileRead file = readWholeFile(options.operands.front());
    if (!file.exists || file.error) {
      err << "tagwright: cannot read " << options.operands.front() << '\n';
      return kExitUsage;
    }
    out << dumpCommandStream(file.content, DumpDecoders{});
    return kExitOk;
  }
  return run(options, out, err);
}

}  // namespace
}  // namespace tagwright::cli

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::u16string text(reinterpret_cast<const char16_t*>(argv[i]));
    args.push_back(tagwright::cli::toUtf8(text));
  }
  try {
    return tagwright::cli::program(args, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "tagwright: " << e.what() << '\n';
    return tagwright::cli::kExitUsage;
  }
}

#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/app/device_map_file.h"
#include "cli/app/exit_codes.h"
#include "preview/label_preview.h"
#include "cli/app/command_options.h"
#include "check/check_watch.h"
#include "script/script_host.h"
#include "cli/output/job_sink.h"
#include "cli/commands/printer_options.h"
#include "cli/profile/file_profile.h"
#include "core/text/code_pages.h"
#include "core/util/result.h"

namespace tagwright {
class AddIn;
}

namespace tagwright::cli {

// The component made ready for one command: the script host it answers
// through, and whatever takes its print jobs.
class ComponentSession {
 public:
  virtual ~ComponentSession() = default;
  virtual ScriptHost& host() = 0;
  // The script whose statements run next (print-server jobs are titled
  // with its name).
  virtual void scriptStarting(const std::string& file) { (void)file; }
  // Lets go of the component, then waits until every print job it was
  // handed is written or dropped. host() is gone afterwards.
  virtual JobTally waitForJobs() = 0;
  // Whether waitForJobs() counts what became of the jobs; a component
  // reached through COM writes them on its own worker, which keeps no
  // count this program could read.
  virtual bool countsJobs() const { return true; }
  // The component object itself when it is linked in, for the check to
  // read (never to change); null when it is reached through COM.
  virtual const AddIn* linkedComponent() const { return nullptr; }
};

// What happens to a session's print jobs besides, or instead of, going
// where the options say.
struct JobRouting {
  LabelPreview* preview = nullptr;  // each job is drawn here first; must outlive the session
  // Where the jobs are sent; null: no job leaves the program.
  const DeliveryOptions* delivery = nullptr;
};

// How the program reaches the component: linked in, or through COM. The
// program (cli/app/program.h) does everything else the same way for both.
class ComponentBackEnd {
 public:
  virtual ~ComponentBackEnd() = default;

  // The settings profile used without --profile; nothing when the
  // environment variable named by profileVariable() is not set.
  virtual std::optional<std::string> defaultProfilePath() const = 0;
  virtual std::string_view profileVariable() const = 0;

  // Checks a run's options before any file is read; a failure is a usage
  // error. May throw for what it cannot set up (a code page).
  virtual Status checkRunOptions(const RunOptions& options) = 0;

  // The component converting through `pages`, with `profile` as its
  // settings store and `routing` saying where jobs go; with `profile` null
  // it starts from its defaults, saves nothing and prints nothing. Failure
  // is a usage error.
  virtual Result<std::unique_ptr<ComponentSession>> open(const CodePageNames& pages,
                                                         FileProfile* profile, std::ostream& errors,
                                                         JobRouting routing = {}) = 0;

  // What this machine can print to, as `tagwright devices` shows it; or
  // why this build cannot tell.
  virtual Result<std::string> listDevices(const DevicesOptions& options) const = 0;

  // Whether run's --on-port-error is this back end's to apply; through COM
  // the component asks Abort, Retry, Ignore with its own message box.
  virtual bool appliesPortErrorPolicy() const { return true; }

  // Where this user's device map is kept (devices --map, --unmap); null
  // when this build keeps none.
  virtual DeviceMapStore* deviceMapStore() const { return nullptr; }
  // Whether run puts the saved map under its --device itself (the native
  // program), instead of the component reading it (the DLL).
  virtual bool runUsesSavedMap() const { return false; }

  // The pictures of labels, drawn as `drawing` says (resolution, fonts,
  // images, code pages) into `folderOrFile`, listed on `out`; or why this
  // build has none.
  virtual Result<std::unique_ptr<LabelPreview>> makePreview(const DrawingOptions& drawing,
                                                            const std::string& folderOrFile,
                                                            std::ostream& out,
                                                            std::ostream& err) const = 0;

  // `status`: asks the printer behind a port how it is; `printer`: the
  // virtual printer. Both reach printers directly, so only the native
  // program has them; other back ends say so.
  virtual int printerStatus(const StatusOptions&, std::ostream&, std::ostream& err) {
    err << "tagwright: status belongs to the native program\n";
    return kExitUsage;
  }
  // `serve`: the designer in the browser, drawing with the linked component
  // and printing through this back end.
  virtual int designer(const ServeOptions&, std::ostream&, std::ostream& err) {
    err << "tagwright: serve belongs to the native program\n";
    return kExitUsage;
  }
  virtual int virtualPrinter(const printer::PrinterOptions&, std::ostream&, std::ostream& err) {
    err << "tagwright: the virtual printer belongs to the native program\n";
    return kExitUsage;
  }

  // A converter between Unicode and the named printer code pages (the
  // "ANSI" one and the "OEM" one), or null where this back end has none:
  // dump then shows bytes above 127 as \xNN.
  virtual std::unique_ptr<CodePages> codePages(const std::string& ansi,
                                               const std::string& oem) const = 0;

  // What watches one script's run for the check, measuring as `drawing`
  // says (code pages, resolution, font, images); or why this build has none.
  virtual Result<std::unique_ptr<CheckWatch>> makeCheckWatch(const DrawingOptions& drawing) {
    (void)drawing;
    return Result<std::unique_ptr<CheckWatch>>::failure(
        "check needs the component linked in; this build reaches it through COM");
  }
};

// The settings profile a command uses: --profile, else the back end's default.
inline std::optional<std::string> profilePath(const std::optional<std::string>& profile,
                                              const ComponentBackEnd& backEnd) {
  if (profile) return profile;
  return backEnd.defaultProfilePath();
}

}  // namespace tagwright::cli

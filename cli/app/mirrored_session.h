#pragma once

#include <memory>

#include "cli/app/component_back_end.h"
#include "cli/profile/file_profile.h"
#include "script/mirrored_script_host.h"

namespace tagwright::cli {

// A session that prints through `primary` and draws every job on `preview`
// with the core linked into the program, fed the same calls from its own
// copy of the profile (read from the same file and never saved). For a back
// end whose component sends its jobs out of the program's sight (the DLL's
// own print worker), so that run --preview still has its pictures.
class MirroredSession final : public ComponentSession {
 public:
  // `pages` must outlive the session. Fails when the profile's copy cannot
  // be read.
  static Result<std::unique_ptr<ComponentSession>> open(std::unique_ptr<ComponentSession> primary,
                                                        const std::string& profilePath,
                                                        const CodePages& pages,
                                                        LabelPreview& preview);

  ScriptHost& host() override { return *host_; }
  void scriptStarting(const std::string& file) override { primary_->scriptStarting(file); }
  JobTally waitForJobs() override;

 private:
  MirroredSession(std::unique_ptr<ComponentSession> primary, std::unique_ptr<FileProfile> copy)
      : primary_(std::move(primary)), copy_(std::move(copy)) {}

  std::unique_ptr<ComponentSession> primary_;
  std::unique_ptr<FileProfile> copy_;
  std::unique_ptr<ComponentSession> mirror_;
  std::unique_ptr<MirroredScriptHost> host_;
};

}  // namespace tagwright::cli

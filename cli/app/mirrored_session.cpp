#include "cli/app/mirrored_session.h"

#include "cli/app/linked_session.h"

namespace tagwright::cli {

Result<std::unique_ptr<ComponentSession>> MirroredSession::open(
    std::unique_ptr<ComponentSession> primary, const std::string& profilePath,
    const CodePages& pages, LabelPreview& preview) {
  using Opened = Result<std::unique_ptr<ComponentSession>>;
  auto copy = std::make_unique<FileProfile>(profilePath);
  if (const Status loaded = copy->load(); !loaded) return Opened::failure(loaded.error());
  std::unique_ptr<MirroredSession> session(
      new MirroredSession(std::move(primary), std::move(copy)));
  session->mirror_ = openLinkedSession(pages, session->copy_.get(), nullptr, &preview);
  session->host_ =
      std::make_unique<MirroredScriptHost>(session->primary_->host(), session->mirror_->host());
  return std::unique_ptr<ComponentSession>(std::move(session));
}

JobTally MirroredSession::waitForJobs() {
  host_.reset();
  mirror_->waitForJobs();
  return primary_->waitForJobs();
}

}  // namespace tagwright::cli

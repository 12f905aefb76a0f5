#pragma once

#include <memory>

#include "preview/label_preview.h"
#include "cli/output/job_sink.h"

namespace tagwright::cli {

// Draws every job it is handed, then passes it on to `next` (run --preview),
// or sends nothing when there is no next sink (the preview command). Jobs
// are drawn as they are queued, in hand-off order.
class PreviewSink final : public JobSink {
 public:
  PreviewSink(LabelPreview& preview, std::unique_ptr<JobSink> next)
      : preview_(preview), next_(std::move(next)) {}

  void queue(PrintJob job) override {
    preview_.addJob(job.text);
    if (next_) next_->queue(std::move(job));
  }
  JobTally finish() override { return next_ ? next_->finish() : JobTally{}; }

 private:
  LabelPreview& preview_;
  std::unique_ptr<JobSink> next_;
};

}  // namespace tagwright::cli

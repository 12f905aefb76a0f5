#pragma once

#include <memory>

#include "cli/app/component_back_end.h"
#include "cli/output/job_sink.h"
#include "core/text/code_pages.h"

namespace tagwright::cli {

// The component's core linked into the program, converting through `pages`
// (which must outlive the session), with `profile` as its settings store.
// Its print jobs are drawn on `preview` when there is one and then handed to
// `sink`; a null sink sends nothing. With `profile` null the component starts
// from its defaults, saves nothing and prints nothing: its jobs are dropped.
std::unique_ptr<ComponentSession> openLinkedSession(const CodePages& pages, FileProfile* profile,
                                                    std::unique_ptr<JobSink> sink,
                                                    LabelPreview* preview);

}  // namespace tagwright::cli

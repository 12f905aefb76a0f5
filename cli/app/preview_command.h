#pragma once

#include <ostream>
#include <string>

#include "cli/app/component_back_end.h"
#include "cli/app/command_options.h"

namespace tagwright::cli {

// tagwright preview: every input drawn as pictures of its labels, nothing
// sent. A script (.tws) runs through the component with the profile, whose
// stored settings stay as they were; any other file is a printer job ("-"
// is standard input). Returns the exit status.
int previewCommand(const PreviewOptions& options, ComponentBackEnd& backEnd, std::ostream& out,
                   std::ostream& err);

// What an input's pictures are named after: the file name without its
// folder and its last extension; "-" is "stdin".
std::string inputStem(const std::string& path);

}  // namespace tagwright::cli

#pragma once

#include <memory>
#include <string>

#include "cli/app/command_options.h"
#include "cli/app/component_back_end.h"
#include "designer/label_workshop.h"

namespace tagwright::cli {

// The designer's scripts through the component linked in, with the
// settings profile, as preview and check run them: nothing sent, the
// stored settings left alone, every job drawn, every statement watched by
// the check and every element's place on its label taken down. Print runs
// the script as `run --device ... --confirm` does, to the devices of the
// command line only. Labels over `maxLabelDots` are not drawn.
std::unique_ptr<designer::LabelWorkshop> makeLinkedWorkshop(const ServeOptions& options,
                                                            ComponentBackEnd& backEnd,
                                                            long long maxLabelDots);

// The devices of the command line as the page shows them: "COM1=tcp://...".
std::string printTargets(const DeviceList& devices);

}  // namespace tagwright::cli

#pragma once

#include <ostream>

#include "cli/commands/printer_options.h"

namespace tagwright::cli::printer {

// `tagwright printer`: runs the virtual printer until a signal, the end of
// its input or (--once) of its first job, logging on `out`. Exit status 0
// when it stopped cleanly, 2 when it could not start.
int printerCommand(const PrinterOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tagwright::cli::printer

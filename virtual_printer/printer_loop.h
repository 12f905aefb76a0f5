#pragma once

#include <string>

#include "virtual_printer/printer_engine.h"
#include "virtual_printer/printer_input.h"
#include "virtual_printer/wake_pipe.h"

namespace tagwright::cli::printer {

// Serves `input` until `stop` is woken, the input ends, or (`onceJobs` > 0)
// that many jobs have ended; labels go on printing meanwhile. Returns why it
// stopped, in words.
std::string runPrinter(PrinterInput& input, PrinterEngine& engine, const WakePipe& stop,
                       int onceJobs = 0);

}  // namespace tagwright::cli::printer

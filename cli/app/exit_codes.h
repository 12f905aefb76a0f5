#pragma once

namespace tagwright::cli {

// The program's exit status; the order is also the order of precedence
// when several things go wrong in one run.
enum ExitCode : int {
  kExitOk = 0,           // every job written (or there were none)
  kExitScriptError = 1,  // a script could not be read, bound or run; nothing was printed
  kExitUsage = 2,        // bad command line
  kExitProfile = 3,      // the settings profile could not be read or written
  kExitJobsDropped = 4,  // at least one print job was dropped; status: the printer reports a fault
  kExitNoAnswer = 5,     // status, run --confirm: the printer did not answer
};

}  // namespace tagwright::cli

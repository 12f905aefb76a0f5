#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "status/printer_status.h"
#include "core/util/result.h"

namespace tagwright::cli::printer {

// "after N labels: STATE": the first N labels print, and the one after
// them meets STATE; the printer stays in it (nothing more prints) until it
// is stopped.
struct FaultRule {
  int afterLabels = 0;
  StatusCode state = StatusCode::MediaEmpty;
  friend bool operator==(const FaultRule&, const FaultRule&) = default;
};

// How a network printer misbehaves on its connections.
enum class ConnectionFault {
  None,
  Refuse,       // the port is bound but nothing listens: every connection is refused
  StopReading,  // takes the connection, reads nothing, keeps it until stopped
  CloseMidJob,  // reads a few bytes of each job, then closes the connection
  NeverClose,   // reads each job to its end but never closes the connection
};

// A state that keeps the printer from printing, by its name (--state).
Result<StatusCode> parseFaultState(std::string_view name);

// "after 2 labels: media-empty" (also "after 1 label: head-open", spaces
// free around the words).
Result<FaultRule> parseFaultRule(std::string_view text);

// refuse, stop-reading, close-mid-job, never-close.
Result<ConnectionFault> parseConnectionFault(std::string_view name);
std::string_view connectionFaultName(ConnectionFault fault);

}  // namespace tagwright::cli::printer

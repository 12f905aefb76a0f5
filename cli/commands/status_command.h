#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/app/command_options.h"
#include "status/status_query.h"
#include "core/util/result.h"
#include "core/transport/network_timeouts.h"

namespace tagwright::cli {

// The port a status query goes to and the device behind it.
struct StatusTarget {
  std::string port;
  std::string device;
};

// The port named by the operand, or the only one given with --device; the
// device from --device or the port's default.
Result<StatusTarget> statusTarget(const StatusOptions& options);

// The network time-outs of the ports (connect, busy), for the query's own
// connection; a busy printer is waited for no longer than an answer.
NetworkTimeouts statusNetworkTimeouts(const PortOptions& ports,
                                      std::optional<std::chrono::milliseconds> statusTimeout);

// The time given each answer (--status-timeout, default 2 s).
std::chrono::milliseconds answerTimeout(std::optional<std::chrono::milliseconds> statusTimeout);

// `tagwright status [PORT]`: switches immediate replies on, asks, prints
// the state in words with its code. 0 ready or at work, 4 a fault, 5 no
// answer, 2 a port that cannot answer or cannot be opened.
int statusCommand(const StatusOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tagwright::cli

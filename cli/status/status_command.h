#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/app/options.h"
#include "cli/status/status_query.h"
#include "core/util/result.h"
#include "platform/posix/transport/network_printer.h"

namespace tagwright::cli {

// The port a status query goes to and the device behind it.
struct StatusTarget {
  std::string port;
  std::string device;
};

// The port named by the operand, or the only one given with --device; the
// device from --device or the port's default.
Result<StatusTarget> statusTarget(const Options& options);

// The network time-outs of the options (connect, busy), for the query's
// own connection.
NetworkTimeouts statusNetworkTimeouts(const Options& options);

// The time the options give each answer (--status-timeout, default 2 s).
std::chrono::milliseconds answerTimeout(const Options& options);

// `tagwright status [PORT]`: switches immediate replies on, asks, prints
// the state in words with its code. 0 ready or at work, 4 a fault, 5 no
// answer, 2 a port that cannot answer or cannot be opened.
int statusCommand(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace tagwright::cli

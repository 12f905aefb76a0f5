#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/transport/cups_address.h"
#include "core/transport/delivery.h"
#include "core/transport/printable_devices.h"
#include "core/util/result.h"
#include "platform/posix/transport/network_printer.h"

namespace tagwright {

// How jobs go to print-server queues.
struct PrintServerSettings {
  NetworkTimeouts timeouts;  // connect: reaching the server; stall: each request
  bool wait = false;         // follow each job to its end
  NoticeFunction notice;
};

// One job for a print-server queue, opened when its port is. The bytes are
// held until the close and then handed to the server as one raw job.
class PrintServerJob {
 public:
  virtual ~PrintServerJob() = default;
  // A descriptor that stays unique while the job is open.
  virtual int handle() const = 0;
  virtual void take(std::string_view bytes) = 0;
  // Hands the job to the server (and follows it with `wait`); offered,
  // delivered and failure of the result are filled in.
  virtual Delivery submit(const std::string& title) = 0;
};

// Whether this build can reach print servers.
bool printServersSupported();

// The queues of the default CUPS server (`host` empty) or of HOST[:PORT];
// the message when no server answers within `timeout`.
Result<std::vector<PrintServerQueue>> listPrintServerQueues(const std::string& host,
                                                            std::uint16_t port,
                                                            std::chrono::milliseconds timeout);

// Connects to the queue's server and checks that the queue is there and
// takes jobs. Null with `error` set (Windows numbering) and the reason given
// to the settings' notice when it cannot.
std::unique_ptr<PrintServerJob> openPrintServerJob(const std::string& portName,
                                                   const CupsQueueAddress& address,
                                                   const PrintServerSettings& settings,
                                                   std::uint32_t& error);

}  // namespace tagwright

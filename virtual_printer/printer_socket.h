#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "core/util/result.h"
#include "virtual_printer/printer_wait.h"

namespace tagwright::cli::printer {

// The socket calls of the TCP printer, one implementation per system. The
// sockets are non-blocking.

struct ListeningSocket {
  unique_wait_handle socket;
  std::string address;  // what was bound: "127.0.0.1:9100", "[::1]:40123"
};

// A socket bound to `host` (a name or an address) and the numeric `port`,
// listening unless `listen` is false (a printer that refuses); failures
// name `given`, the --listen text.
Result<ListeningSocket> listenOn(const std::string& host, const std::string& port, bool listen,
                                 const std::string& given);

struct AcceptedSocket {
  unique_wait_handle socket;
  std::string peer;  // the client's address, as ListeningSocket::address
};

// The next connection waiting on `listener`; none when the client gave up.
std::optional<AcceptedSocket> acceptOn(WaitHandle listener);

// What one read brought: bytes (0: the sender closed), nothing for now
// (`again`), or a failure in the system's words.
struct Received {
  std::size_t bytes = 0;
  bool again = false;
  std::optional<std::string> failure;
};
Received receiveFrom(WaitHandle socket, char* buffer, std::size_t size);

// Makes the coming close a reset instead of an orderly end, as a printer
// that gives up on a connection does.
void resetOnClose(WaitHandle socket);

// Sends all of `bytes`, waiting up to `stall` whenever the client takes
// nothing; false when it did not take them all.
bool sendAnswer(WaitHandle socket, const std::string& bytes, std::chrono::milliseconds stall);

}  // namespace tagwright::cli::printer

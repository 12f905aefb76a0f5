#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <chrono>
#include <cstdint>
#include <string>
#include "platform/posix/unique_resource.h"
#include "virtual_printer/printer_input.h"

namespace tagwright::testing {

// The port a listening printer input took ("127.0.0.1:PORT").
inline std::uint16_t portOf(cli::printer::PrinterInput& input) {
  const std::string where = input.where();
  return static_cast<std::uint16_t>(std::stoi(where.substr(where.rfind(':') + 1)));
}

// A blocking client socket to PORT on loopback whose reads give up after
// `wait`; none when refused. The wait bounds what should not come.
inline unique_fd connectTo(std::uint16_t port,
                           std::chrono::microseconds wait = std::chrono::seconds(1)) {
  unique_fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    return unique_fd();
  }
  const timeval limit{static_cast<time_t>(wait.count() / 1000000),
                      static_cast<suseconds_t>(wait.count() % 1000000)};
  ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  return fd;
}

}  // namespace tagwright::testing

#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/posix/unique_resource.h"

namespace tagwright::testing {

// A raw network printer on 127.0.0.1 for tests, served by a thread of its
// own, one connection at a time as many printers do. It records the bytes
// of every connection and can misbehave in the ways real printers do.
class LoopbackPrinter {
 public:
  enum class Behaviour {
    ReadAll,      // reads each connection to its end, then closes it
    StopReading,  // reads `limit` bytes, then reads nothing more until stopped
    CloseMidJob,  // reads `limit` bytes, then closes (unread bytes make it a reset)
    NeverClose,   // reads to the end, but keeps the connection open until stopped
    NeverListen,  // the port is taken but refuses every connection
  };

  struct Setup {
    Behaviour behaviour = Behaviour::ReadAll;
    std::size_t limit = 0;
    // Refuses connections for this long before it starts to listen.
    std::chrono::milliseconds refuseFor{0};
    // A small receive buffer makes a printer that stops reading hold up the
    // sender soon; 0 leaves the system's size.
    int receiveBuffer = 0;
    // Listens with a full queue: one connection is made and never taken,
    // so that every later attempt goes unanswered.
    bool unanswered = false;
    // How long a CloseMidJob printer waits after its last read before it
    // closes, so that the sender has seen every byte acknowledged first.
    std::chrono::milliseconds pauseBeforeClose{0};
  };

  explicit LoopbackPrinter(Setup setup) : setup_(setup) {
    listener_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (setup_.receiveBuffer > 0) {
      ::setsockopt(listener_.get(), SOL_SOCKET, SO_RCVBUF, &setup_.receiveBuffer,
                   sizeof setup_.receiveBuffer);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    if (setup_.unanswered) {
      ::listen(listener_.get(), 0);
      filler_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
      ::connect(filler_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
      return;  // nothing is ever accepted
    }
    if (setup_.behaviour != Behaviour::NeverListen && setup_.refuseFor.count() == 0) {
      ::listen(listener_.get(), 8);
      listening_ = true;
    }
    if (setup_.behaviour != Behaviour::NeverListen) thread_ = std::thread([this] { serve(); });
  }

  ~LoopbackPrinter() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  LoopbackPrinter(const LoopbackPrinter&) = delete;
  LoopbackPrinter& operator=(const LoopbackPrinter&) = delete;

  std::uint16_t port() const { return port_; }
  std::string device() const { return "tcp://127.0.0.1:" + std::to_string(port_); }

  // The bytes of each connection so far, in the order they were accepted.
  std::vector<std::string> connections() const {
    std::lock_guard<std::mutex> guard(lock_);
    return connections_;
  }
  // Waits up to `limit` for `count` connections to have ended.
  bool waitForEnded(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      if (ended_.load() >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

 private:
  void serve() {
    const auto start = std::chrono::steady_clock::now();
    while (!stop_) {
      if (!listening_) {
        if (std::chrono::steady_clock::now() - start < setup_.refuseFor) {
          std::this_thread::sleep_for(std::chrono::milliseconds(5));
          continue;
        }
        ::listen(listener_.get(), 8);
        listening_ = true;
      }
      pollfd entry{listener_.get(), POLLIN, 0};
      if (::poll(&entry, 1, 20) <= 0) continue;
      unique_fd connection(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (!connection) continue;
      {
        std::lock_guard<std::mutex> guard(lock_);
        connections_.emplace_back();
      }
      take(connection.get());
      connection.reset();
      ++ended_;
    }
  }

  // Reads one connection as the behaviour says.
  void take(int connection) {
    const bool limited =
        setup_.behaviour == Behaviour::StopReading || setup_.behaviour == Behaviour::CloseMidJob;
    std::size_t taken = 0;
    char buffer[65536];
    while (!stop_) {
      if (limited && taken >= setup_.limit) break;
      pollfd entry{connection, POLLIN, 0};
      if (::poll(&entry, 1, 20) <= 0) continue;
      std::size_t want = sizeof buffer;
      if (limited) want = std::min(want, setup_.limit - taken);
      const ssize_t n = ::recv(connection, buffer, want, 0);
      if (n <= 0) break;
      taken += static_cast<std::size_t>(n);
      std::lock_guard<std::mutex> guard(lock_);
      connections_.back().append(buffer, static_cast<std::size_t>(n));
    }
    if (setup_.behaviour == Behaviour::CloseMidJob && !stop_) {
      std::this_thread::sleep_for(setup_.pauseBeforeClose);
    }
    const bool holds =
        setup_.behaviour == Behaviour::StopReading || setup_.behaviour == Behaviour::NeverClose;
    while (holds && !stop_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  const Setup setup_;
  unique_fd listener_;
  unique_fd filler_;
  std::uint16_t port_ = 0;
  bool listening_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<std::size_t> ended_{0};
  mutable std::mutex lock_;
  std::vector<std::string> connections_;
  std::thread thread_;
};

}  // namespace tagwright::testing

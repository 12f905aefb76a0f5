#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/transport/network_address.h"
#include "platform/win32/unique_resource.h"

namespace tagwright::testing {

using win32::unique_socket;

// A raw printer on 127.0.0.1, served by a thread of its own over Winsock:
// one connection, whose bytes it keeps.
class LoopbackPeer {
 public:
  enum class Behaviour {
    ReadAll,      // reads to the end of the job, then closes
    StopReading,  // reads `limit` bytes, then nothing more until destroyed
    ResetMidJob,  // reads `limit` bytes, then resets the connection
    Refuse,       // holds the port without listening: every connect is refused
    Answer,       // reads a query to its LF, sends `answers` apart, then closes
  };

  LoopbackPeer(Behaviour behaviour, std::size_t limit = 0, std::vector<std::string> answers = {})
      : behaviour_(behaviour), limit_(limit), answers_(std::move(answers)) {
    listener_.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    // A small receive buffer makes a printer that stops reading hold up
    // the sender soon.
    const int receiveBuffer = 4096;
    ::setsockopt(listener_.get(), SOL_SOCKET, SO_RCVBUF,
                 reinterpret_cast<const char*>(&receiveBuffer), sizeof receiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    if (behaviour_ == Behaviour::Refuse) return;
    ::listen(listener_.get(), 1);
    thread_ = std::thread([this] { serve(); });
  }
  ~LoopbackPeer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  TcpPrinterAddress address() const { return {"127.0.0.1", port_}; }
  // Everything the printer read; it stops serving first.
  std::string received() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return received_;
  }

 private:
  void serve() {
    unique_socket connection(::accept(listener_.get(), nullptr, nullptr));
    if (!connection) return;
    char buffer[4096];
    if (behaviour_ == Behaviour::Answer) {
      answer(connection.get());
      return;
    }
    const bool limited = behaviour_ != Behaviour::ReadAll;
    while (!limited || received_.size() < limit_) {
      const std::size_t room =
          limited ? std::min(sizeof buffer, limit_ - received_.size()) : sizeof buffer;
      const int n = ::recv(connection.get(), buffer, static_cast<int>(room), 0);
      if (n <= 0) break;
      received_.append(buffer, static_cast<std::size_t>(n));
    }
    if (behaviour_ == Behaviour::StopReading) {
      while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (behaviour_ == Behaviour::ResetMidJob) {
      const linger reset{1, 0};
      ::setsockopt(connection.get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset),
                   sizeof reset);
    }
  }

  void answer(SOCKET connection) {
    char c = 0;
    while (c != '\n' && ::recv(connection, &c, 1, 0) == 1) received_ += c;
    for (const std::string& piece : answers_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      ::send(connection, piece.data(), static_cast<int>(piece.size()), 0);
    }
  }

  const Behaviour behaviour_;
  const std::size_t limit_;
  const std::vector<std::string> answers_;
  unique_socket listener_;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::string received_;
  std::thread thread_;
};

}  // namespace tagwright::testing

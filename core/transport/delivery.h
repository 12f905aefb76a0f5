#pragma once

#include <cstdint>
#include <string>

namespace tagwright {

// What one opening of a port delivered: the bytes it was given to write,
// the bytes that reached the printer (taken by the device, or acknowledged
// by a network printer), and what went wrong, if anything.
struct Delivery {
  std::string port;    // LPT1, COM3, USB
  std::string target;  // the device, file or network printer behind it
  std::uint64_t offered = 0;
  std::uint64_t delivered = 0;
  std::string failure;  // empty when nothing went wrong
  // False when how much reached the printer is not known: a print server
  // took the whole job and the printer behind it failed, or a network
  // printer took every byte and then reset the connection instead of
  // closing it in order.
  bool countKnown = true;
  // Who took the whole job when the count is not known.
  enum class Taker { PrintServer, Printer };
  Taker tookAll = Taker::PrintServer;

  bool complete() const { return failure.empty() && delivered == offered; }
};

// Progress of one write to a port, for a host that shows it: begin() with
// the size of the write, advance() with the bytes done so far, end(). Called
// on the print worker's thread.
class TransferProgress {
 public:
  virtual ~TransferProgress() = default;
  virtual void begin(std::uint64_t total) = 0;
  virtual void advance(std::uint64_t done) = 0;
  virtual void end() = 0;
};

}  // namespace tagwright

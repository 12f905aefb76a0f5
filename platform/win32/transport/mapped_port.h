#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/transport/delivery.h"

namespace tagwright {

// One job on its way to the target that the device map put behind a port.
class MappedPort {
 public:
  virtual ~MappedPort() = default;
  // Hands on all of `bytes`; false once anything has failed.
  virtual bool write(std::string_view bytes, std::uint32_t& written) = 0;
  // Ends the job: what reached the target, and what went wrong, if anything.
  virtual Delivery finish() = 0;
};

// What the device map said when a port was opened.
struct MappedOpen {
  bool mapped = false;               // false: the port is the local one
  std::unique_ptr<MappedPort> port;  // the opened target, when mapped
  std::uint32_t error = 0;           // why it could not be opened, when mapped and no port
};

// The device map as the port layer consults it, at every open, so that a
// change applies from the next job on.
class MappedPorts {
 public:
  virtual ~MappedPorts() = default;
  // Whether `portName` (LPT1..LPT3, COM1..COM9, USB) has an entry, even one
  // that cannot be read.
  virtual bool isMapped(std::string_view portName) = 0;
  virtual MappedOpen open(const std::string& portName) = 0;
  // Told about a job that did not reach its target whole; it is not sent
  // again.
  virtual void reportFailure(const Delivery& delivery) = 0;
};

}  // namespace tagwright

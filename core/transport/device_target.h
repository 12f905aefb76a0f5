#pragma once

#include <string>
#include <string_view>

#include "core/transport/network_address.h"
#include "core/util/result.h"

namespace tagwright {

// Where a port of the device map sends its jobs instead of the local port:
//   tcp://HOST[:PORT]  a raw network printer (port 9100 by default);
//   printer:NAME       a printer queue of the system, local or \\SERVER\QUEUE;
//   file:PATH          a file that each job is appended to.
struct DeviceTarget {
  enum class Kind { Tcp, PrinterQueue, File };

  Kind kind = Kind::File;
  TcpPrinterAddress tcp;  // for Tcp
  std::string name;       // the queue's name or the file's path

  // The target as the user writes it, in the form it was read.
  std::string text() const;
  friend bool operator==(const DeviceTarget&, const DeviceTarget&) = default;
};

inline constexpr std::string_view kPrinterQueuePrefix = "printer:";
inline constexpr std::string_view kFileTargetPrefix = "file:";

// Reads one target. Blanks around it are ignored; the prefixes are written
// in small letters. A failure names the text and the three forms.
Result<DeviceTarget> parseDeviceTarget(std::string_view text);

// True for the port names a map may hold: LPT1..LPT3, COM1..COM9 and USB,
// in any letter case.
bool isMappablePortName(std::string_view name);

}  // namespace tagwright

#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tagwright {

// What stands behind each port name on this machine. By default, on Linux
// LPT1..LPT3 are /dev/lp0../dev/lp2 and COM1..COM9 are /dev/ttyS0../dev/ttyS8,
// and on Windows each port is the device of its own name; the host program
// may put any path (a pseudo-terminal, a file, another device, a network
// printer) behind any of them, and behind "USB", the USB printer.
class DeviceMap {
 public:
  enum class Defaults { Posix, Windows };
#ifdef _WIN32
  static constexpr Defaults kSystemDefaults = Defaults::Windows;
#else
  static constexpr Defaults kSystemDefaults = Defaults::Posix;
#endif

  // Device path under which a USB printer given by the host program is
  // enumerated; it carries the printer's ids so that it is found as one.
  static constexpr std::string_view kMappedUsbDevicePath =
      "usb#vid_195f&pid_0001#mapped#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

  explicit DeviceMap(Defaults defaults = kSystemDefaults);

  // Puts `path` behind a port name: "LPT1".."LPT3", "COM1".."COM9" or "USB",
  // in any letter case. False for any other name.
  bool assign(std::string_view portName, std::string path);

  // The path behind an LPT or COM name; nullopt for any other name.
  std::optional<std::string> pathFor(std::string_view portName) const;
  // The path that the host program put behind "USB", if any.
  const std::optional<std::string>& usbPrinter() const { return usbPrinter_; }

 private:
  std::map<std::string, std::string, std::less<>> ports_;
  std::optional<std::string> usbPrinter_;
};

}  // namespace tagwright

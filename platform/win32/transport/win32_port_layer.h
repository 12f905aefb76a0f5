#pragma once

#include "core/transport/port_layer.h"

namespace tagwright {

// Ports through the Windows file and communications calls: CreateFileA
// (read and write, not shared, existing only), the comm time-outs, modem
// status, state, queues, mask and purge, WriteFile, EscapeCommFunction and
// CloseHandle; USB device interfaces through SetupAPI.
class Win32PortLayer final : public PortLayer {
 public:
  PortHandle open(const std::string& name, std::uint32_t& error) override;
  bool getTimeouts(PortHandle port, CommTimeouts& timeouts) override;
  bool setTimeouts(PortHandle port, const CommTimeouts& timeouts) override;
  bool getModemStatus(PortHandle port, std::uint32_t& status) override;
  bool getCommState(PortHandle port, CommState& state) override;
  bool setupQueues(PortHandle port, std::uint32_t inputSize, std::uint32_t outputSize) override;
  bool setCommState(PortHandle port, const CommState& state) override;
  bool setCommMask(PortHandle port, std::uint32_t mask) override;
  bool purge(PortHandle port, std::uint32_t flags) override;
  bool write(PortHandle port, std::string_view bytes, std::uint32_t& written) override;
  bool setBreak(PortHandle port) override;
  bool close(PortHandle port) override;
  // The present devices of the USB device interface class; an interface
  // whose detail cannot be read (or whose buffer cannot be had) is skipped.
  std::vector<std::string> usbDevicePaths() override;
};

}  // namespace tagwright

#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>

#include "core/transport/port_layer.h"
#include "platform/win32/transport/mapped_port.h"

namespace tagwright {

// Ports through the Windows file and communications calls: CreateFileA
// (read and write, not shared, existing only), the comm time-outs, modem
// status, state, queues, mask and purge, WriteFile, EscapeCommFunction and
// CloseHandle; USB device interfaces through SetupAPI.
//
// With a device map, each open of LPT1..LPT3, COM1..COM9 and of the USB
// printer asks the map first; a mapped port is opened as its target, and
// the other operations on it do nothing but write and close (its handle is
// the address of its MappedPort, which no system handle can equal while it
// lives). Without a map, or for a port without an entry, every call is the
// system call it always was.
class Win32PortLayer final : public PortLayer {
 public:
  // `mapped` may be null (no device map); it must outlive the layer.
  explicit Win32PortLayer(MappedPorts* mapped = nullptr) : mapped_(mapped) {}

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
  bool isLocalPort(PortHandle port) override;
  // The present devices of the USB device interface class; an interface
  // whose detail cannot be read (or whose buffer cannot be had) is skipped.
  std::vector<std::string> usbDevicePaths() override;
  // Whether a mapped target took less than a job since the last call
  // (which clears it).
  bool takeCutShort() { return cutShort_.exchange(false); }

 private:
  // The mapped port behind a handle; null for a local port.
  MappedPort* mappedPortOf(PortHandle port);

  MappedPorts* mapped_;
  std::mutex lock_;  // guards open_
  std::map<PortHandle, std::unique_ptr<MappedPort>> open_;
  std::atomic<bool> cutShort_{false};
};

}  // namespace tagwright

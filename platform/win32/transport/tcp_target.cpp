#include "platform/win32/transport/device_map_ports.h"
#include "platform/win32/transport/winsock_printer.h"
#include "platform/win32/transport/winsock_start.h"

namespace tagwright {
namespace {

// One job to a raw network printer; Winsock is started for as long as the
// job lasts.
class TcpPort final : public MappedPort {
 public:
  TcpPort(win32::unique_winsock winsock, win32::unique_socket socket,
          const NetworkTimeouts& timeouts, Delivery delivery)
      : winsock_(std::move(winsock)),
        link_(std::move(socket), timeouts),
        delivery_(std::move(delivery)) {}

  bool write(std::string_view bytes, std::uint32_t& written) override {
    written = 0;
    if (!link_.send(bytes, nullptr)) return false;
    // Taken by the connection; what reached the printer is known at the end.
    written = static_cast<std::uint32_t>(bytes.size());
    return true;
  }

  Delivery finish() override {
    Delivery ended = link_.finish(nullptr);
    ended.port = delivery_.port;
    ended.target = delivery_.target;
    return ended;
  }

 private:
  win32::unique_winsock winsock_;  // outlives the link, declared first
  win32::WinsockPrinterLink link_;
  Delivery delivery_;
};

}  // namespace

std::unique_ptr<MappedPort> openTcpTarget(const std::string& portName, const DeviceTarget& target,
                                          const NetworkTimeouts& timeouts, std::uint32_t& error) {
  Result<win32::unique_winsock> winsock = win32::startWinsock();
  if (!winsock) {
    error = ERROR_NOT_READY;
    return nullptr;
  }
  win32::unique_socket socket =
      win32::connectWinsockPrinter(portName, target.tcp, timeouts, {}, error);
  if (!socket) return nullptr;
  Delivery delivery;
  delivery.port = portName;
  delivery.target = target.text();
  return std::make_unique<TcpPort>(std::move(winsock).value(), std::move(socket), timeouts,
                                   std::move(delivery));
}

}  // namespace tagwright

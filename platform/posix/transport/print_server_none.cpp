#include "core/transport/port_layer.h"
#include "platform/posix/transport/print_server.h"

namespace tagwright {

// A build without print-server queues (TAGWRIGHT_CUPS=OFF): cups: targets are
// refused with a message that says how to get them.
bool printServersSupported() { return false; }

std::unique_ptr<PrintServerJob> openPrintServerJob(const std::string& portName,
                                                   const CupsQueueAddress& address,
                                                   const PrintServerSettings& settings,
                                                   std::uint32_t& error) {
  if (settings.notice) {
    settings.notice(
        portName + ": cups:" + address.text() +
        " cannot be used: this tagwright was built without print-server "
        "queues (TAGWRIGHT_CUPS=OFF): build it with libcups2-dev and TAGWRIGHT_CUPS=ON");
  }
  error = kErrorFileNotFound;
  return nullptr;
}

Result<std::vector<PrintServerQueue>> listPrintServerQueues(const std::string&, std::uint16_t,
                                                            std::chrono::milliseconds) {
  return Result<std::vector<PrintServerQueue>>::failure(
      "this tagwright was built without print-server queues (TAGWRIGHT_CUPS=OFF): build it with "
      "libcups2-dev and TAGWRIGHT_CUPS=ON");
}

}  // namespace tagwright

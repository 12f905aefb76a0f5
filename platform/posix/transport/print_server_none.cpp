#include "core/transport/port_layer.h"
#include "platform/posix/transport/print_server.h"

namespace tagwright {

// This build has no CUPS library: queues cannot be reached.
bool printServersSupported() { return false; }

std::unique_ptr<PrintServerJob> openPrintServerJob(const std::string& portName,
                                                   const CupsQueueAddress& address,
                                                   const PrintServerSettings& settings,
                                                   std::uint32_t& error) {
  if (settings.notice) {
    settings.notice(portName + ": cups:" + address.text() +
                    " cannot be used: this tagwright was built without CUPS (install "
                    "libcups2-dev and build it again)");
  }
  error = kErrorFileNotFound;
  return nullptr;
}

}  // namespace tagwright

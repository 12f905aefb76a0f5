#include "status/status_channel_opening.h"

#include <optional>

namespace tagwright::cli {

OpenedChannel openChannelTo(const std::string& portName, const std::string& device,
                            const TcpConnector& connect,
                            const std::function<OpenedChannel()>& openLine) {
  if (std::optional<std::string> why = whyNoAnswersFrom(device)) {
    return OpenedChannel::failure(portName + " (" + device + "): " + *why);
  }
  if (!isTcpDevice(device)) return openLine();
  std::string fault;
  const std::optional<TcpPrinterAddress> address = parseTcpPrinterAddress(device, fault);
  if (!address) return OpenedChannel::failure(portName + ": " + fault);
  std::string said;
  std::unique_ptr<StatusChannel> channel =
      connect(*address, [&said](const std::string& text) { said = text; });
  if (!channel) {
    return OpenedChannel::failure(said.empty() ? portName + ": cannot connect to " + device : said);
  }
  return channel;
}

}  // namespace tagwright::cli

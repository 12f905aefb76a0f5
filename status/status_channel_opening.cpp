#include "status/status_channel_opening.h"

namespace tagwright::cli {

OpenedChannel openChannelTo(const std::string& portName, const std::string& device,
                            const TcpConnector& connect,
                            const std::function<OpenedChannel()>& openLine) {
  if (const Status answers = canAnswer(device); !answers) {
    return OpenedChannel::failure(portName + " (" + device + "): " + answers.error());
  }
  if (!isTcpDevice(device)) return openLine();
  const Result<TcpPrinterAddress> address = parseTcpPrinterAddress(device);
  if (!address) return OpenedChannel::failure(portName + ": " + address.error());
  std::string said;
  std::unique_ptr<StatusChannel> channel =
      connect(address.value(), [&said](const std::string& text) { said = text; });
  if (!channel) {
    return OpenedChannel::failure(said.empty() ? portName + ": cannot connect to " + device : said);
  }
  return channel;
}

}  // namespace tagwright::cli

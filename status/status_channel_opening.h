#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/transport/network_address.h"
#include "core/transport/network_printer_texts.h"
#include "core/util/result.h"
#include "status/status_channel.h"

namespace tagwright::cli {

using OpenedChannel = Result<std::unique_ptr<StatusChannel>>;

// Connects to a network printer: the channel, or none once it has said why
// through the notice.
using TcpConnector =
    std::function<std::unique_ptr<StatusChannel>(const TcpPrinterAddress&, const NoticeFunction&)>;

// Opening a channel, on every system alike: a device that cannot answer is
// refused with its reason (canAnswer); tcp://HOST[:PORT] is read and
// connected through `connect`, failing with the last thing it said; any
// other device is opened by `openLine`.
OpenedChannel openChannelTo(const std::string& portName, const std::string& device,
                            const TcpConnector& connect,
                            const std::function<OpenedChannel()>& openLine);

}  // namespace tagwright::cli

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cli/app/command_options.h"
#include "status/status_query.h"
#include "core/transport/print_job.h"
#include "core/transport/device_map.h"
#include "core/transport/network_timeouts.h"

namespace tagwright::cli {

// run --confirm: after each job that reached its port, asks the printer on
// that port until it has printed the job, and says how it ended.
class JobConfirmer {
 public:
  using Say = std::function<void(const std::string&)>;

  JobConfirmer(DeviceMap devices, NetworkTimeouts network, ConfirmTimes times);

  // Written when the printer reported the job printed; Dropped, with the
  // reason told to `say`, when it reported a fault, did not answer or did
  // not finish in time. Both endings are told.
  JobOutcome confirm(std::int32_t portIndex, std::uint64_t jobNumber, const Say& say) const;

 private:
  DeviceMap devices_;
  NetworkTimeouts network_;
  ConfirmTimes times_;
};

// Whether --confirm can be used with these options; the failure says why
// not (a port that cannot answer: --output, a print-server queue, a file).
Status canConfirm(const DeliveryOptions& options);

// The confirmation's times from --status-timeout.
ConfirmTimes confirmTimes(std::optional<std::chrono::milliseconds> statusTimeout);

}  // namespace tagwright::cli

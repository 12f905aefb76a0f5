#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <ostream>

#include "cli/app/command_options.h"
#include "core/transport/device_map.h"
#include "core/transport/print_job.h"
#include "core/util/result.h"

namespace tagwright::cli {

// The targets that the component's jobs went to, as the component finds
// them at each open: run's --device first, then the user's and the
// machine's registry entries, then the port itself.
DeviceMap confirmationDevices(const DeviceList& given);

// run --confirm over the registered component: its worker tells this
// program when each job has ended (the component's job watch), and the
// printer behind the job's port is asked then, on the worker's own thread,
// before the worker takes the next job: the native program's confirmation,
// job by job, with its words. A job that did not reach its port was told
// about by the component itself and is counted as dropped.
class JobConfirmation {
 public:
  JobConfirmation(DeliveryOptions options, std::ostream& err);
  ~JobConfirmation();
  JobConfirmation(const JobConfirmation&) = delete;
  JobConfirmation& operator=(const JobConfirmation&) = delete;

  // Sets the watch on the loaded component; the failure says why it cannot
  // be (a component older than this program).
  Status start();
  // Ends the watch once the component's jobs have all ended; how they ended.
  JobTally finish();

  // One job's end, as the component tells it.
  void jobEnded(std::int32_t port, bool reached);

 private:
  void say(const std::string& text);

  DeliveryOptions options_;
  std::ostream& err_;
  bool watching_ = false;
  std::mutex lock_;  // guards what follows, and the lines on err_
  JobTally tally_;
  std::uint64_t jobs_ = 0;
};

}  // namespace tagwright::cli

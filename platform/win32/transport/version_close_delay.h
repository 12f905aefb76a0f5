#pragma once

#include "core/transport/close_delay.h"

namespace tagwright {

// Asks the system for its platform id (GetVersionExA) at every job: one
// second on the Windows 95/98/Me family, none elsewhere, and none when the
// system does not answer.
class VersionCloseDelay final : public CloseDelayPolicy {
 public:
  std::chrono::milliseconds closeDelay() override;
};

}  // namespace tagwright

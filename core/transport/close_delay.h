#pragma once

#include <chrono>
#include <cstdint>

namespace tagwright {

// How long a port stays open after the job's write returns, asked once per
// job. The old Windows 95/98/Me family needs a second before the close so
// that its port drivers do not cut the last bytes off; nothing else does.
class CloseDelayPolicy {
 public:
  virtual ~CloseDelayPolicy() = default;
  virtual std::chrono::milliseconds closeDelay() = 0;
};

// Platform id that Windows 95/98/Me report.
inline constexpr std::uint32_t kPlatformWin32Windows = 1;

constexpr std::chrono::milliseconds closeDelayForPlatform(std::uint32_t platformId) {
  return std::chrono::milliseconds(platformId == kPlatformWin32Windows ? 1000 : 0);
}

// For platforms without a Windows 95 family: the port is closed at once.
class NoCloseDelay final : public CloseDelayPolicy {
 public:
  std::chrono::milliseconds closeDelay() override { return std::chrono::milliseconds(0); }
};

}  // namespace tagwright

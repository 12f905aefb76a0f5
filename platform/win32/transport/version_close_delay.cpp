#include "platform/win32/transport/version_close_delay.h"

#include <windows.h>

namespace tagwright {

std::chrono::milliseconds VersionCloseDelay::closeDelay() {
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return std::chrono::milliseconds(0);
  return closeDelayForPlatform(info.dwPlatformId);
}

}  // namespace tagwright

#pragma once

#include <chrono>

#include "platform/win32/unique_resource.h"

namespace tagwright::win32 {

enum class SocketReadiness { Write, Read };

// Waits up to `wait` for `socket` to be writable (a connect ended, or room
// to send) or readable: 1 when it is, 0 when the wait ran out, SOCKET_ERROR
// when select failed. A failed connect shows as ready too.
int waitForSocket(SOCKET socket, SocketReadiness readiness, std::chrono::milliseconds wait);

}  // namespace tagwright::win32

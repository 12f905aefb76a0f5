#pragma once

#include "core/util/result.h"
#include "platform/win32/unique_resource.h"

namespace tagwright::win32 {

// Starts Winsock 2.2 for as long as the owner lives, or says why it cannot.
Result<unique_winsock> startWinsock();

// The system's words for a Windows or Winsock error, with its number:
// "No connection could be made ... (10061)".
std::string systemErrorText(int code);

}  // namespace tagwright::win32

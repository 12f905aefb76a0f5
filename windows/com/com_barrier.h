#pragma once

#include <windows.h>

#include <new>

#include "core/addin/host_result.h"

namespace tagwright::com {

// The boundary every COM entry point goes through: the body may throw, the
// host only ever sees a result code. Memory exhaustion is reported as such;
// anything else that escapes the core is unexpected.
template <typename Body>
HRESULT guardComCall(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

constexpr HRESULT toHResult(HostResult result) noexcept {
  switch (result) {
    case HostResult::Ok: return S_OK;
    case HostResult::Refused: return S_FALSE;
    case HostResult::Failed: return E_FAIL;
  }
  return E_UNEXPECTED;
}

}  // namespace tagwright::com

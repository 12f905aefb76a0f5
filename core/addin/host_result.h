#pragma once

namespace tagwright {

// The outcome of every host-facing operation of the core. The COM adapter
// maps it one to one onto S_OK, S_FALSE and E_FAIL.
enum class HostResult {
  Ok,       // the request was served
  Refused,  // unknown number or name, wrong value type, wrong entry point
  Failed,   // only Init, when the settings cannot be read
};

}  // namespace tagwright

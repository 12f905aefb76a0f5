#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/atomic_file.h"
#include "platform/posix/system_calls.h"

namespace tagwright {

// writeFileAtomically() with its writes, flush and rename made through
// `calls`, so that tests can make a write fail half way (a full disk),
// come back short, or be interrupted, and see that the old file survives.
Status writeFileAtomicallyWith(SystemCalls& calls, const std::string& path,
                               std::string_view content);

}  // namespace tagwright

#include "cli/app/port_sink.h"

namespace tagwright::cli {

PortSinkResult makePortSink(const Options&, const CodePages&, std::ostream&) {
  return PortSinkResult{nullptr,
                        "printing to ports is not wired into this build yet; use --output FILE"};
}

}  // namespace tagwright::cli

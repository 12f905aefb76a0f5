#include "core/transport/print_abort.h"

namespace tagwright {

PrintAbortState& processPrintAbort() {
  // Never destroyed: a worker may still consult it while the process ends.
  static PrintAbortState* state = new PrintAbortState();
  return *state;
}

}  // namespace tagwright

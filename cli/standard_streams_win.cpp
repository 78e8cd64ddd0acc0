#include "cli/standard_streams.h"

namespace orvane {

bool PrepareStandardStreams() {
  // Nothing to do: Windows has no SIGPIPE (a write to a closed pipe fails),
  // and its sockets are handles apart from the C runtime's descriptors 0 to
  // 2, so none can take their place; a write to a standard output that was
  // never opened fails by itself.
  return false;
}

}  // namespace orvane

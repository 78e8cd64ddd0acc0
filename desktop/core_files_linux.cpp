#include <sys/prctl.h>
#include <sys/resource.h>

#include "desktop/core_files.h"

namespace orvane {

void KeepSecretsOutOfCoreFiles() {
  // Not dumpable: no core file whatever the limit or core_pattern say, and no
  // ptrace but by a privileged tracer. The zero limit covers a pattern that
  // pipes cores to a handler which ignores the dumpable flag.
  ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
  const rlimit none{0, 0};
  ::setrlimit(RLIMIT_CORE, &none);
}

}  // namespace orvane

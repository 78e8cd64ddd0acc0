#include "desktop/core_files.h"

namespace orvane {

// Windows writes a dump of a crashed program only where an administrator has
// asked Windows Error Reporting for local dumps; a program cannot opt out of
// that, and nothing else writes one.
void KeepSecretsOutOfCoreFiles() {}

}  // namespace orvane

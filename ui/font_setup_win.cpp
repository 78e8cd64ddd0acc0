#include "ui/font_setup.h"

namespace orvane {

// Windows keeps its own font list; there is no configuration to read ahead.
bool PrepareFontConfiguration() {
  return false;
}

}  // namespace orvane

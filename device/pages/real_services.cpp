#include "device/pages/services.h"

namespace orvane {

// The real network and desktop; filled in as those libraries land.
Services& RealServices() {
  static Services services;
  return services;
}

}  // namespace orvane

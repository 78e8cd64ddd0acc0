#pragma once
// Time for the setup run from the window program's event loop: timers whose
// callbacks run as events on the UI thread.

#include "device/setup_services.h"

namespace orvane {

class EventLoopClock final : public Clock {
 public:
  std::unique_ptr<Timer> MakeTimer() override;
};

}  // namespace orvane

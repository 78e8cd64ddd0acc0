#include "wizard/event_loop_clock.h"

#include <QTimer>

namespace orvane {

namespace {

class EventLoopTimer final : public Timer {
 public:
  EventLoopTimer() {
    // The scan window and the reply time-out are part of the behaviour:
    // precise timers, not coarse ones that may run up to 5 % (1.5 s of 30) late.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      // A copy: the callback may arm this timer again with another one.
      const std::function<void()> callback = onTimeout_;
      if (callback) callback();
    });
  }

  void Start(std::chrono::milliseconds after, std::function<void()> onTimeout) override {
    onTimeout_ = std::move(onTimeout);
    timer_.start(after);
  }
  void Stop() override { timer_.stop(); }
  bool IsActive() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
  std::function<void()> onTimeout_;
};

}  // namespace

std::unique_ptr<Timer> EventLoopClock::MakeTimer() {
  return std::make_unique<EventLoopTimer>();
}

}  // namespace orvane

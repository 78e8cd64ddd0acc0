#include "cli/poll_loop.h"

#include <algorithm>
#include <functional>
#include <string>

#include "hostnet/port_self_test.h"
#include "hostnet/udp_listener.h"

namespace orvane {

class PollLoop::LoopTimer final : public Timer {
 public:
  explicit LoopTimer(PollLoop& loop) : loop_(loop) { loop_.timers_.push_back(this); }
  ~LoopTimer() override { std::erase(loop_.timers_, this); }

  void Start(std::chrono::milliseconds after, std::function<void()> onTimeout) override {
    onTimeout_ = std::move(onTimeout);
    due_ = std::chrono::steady_clock::now() + after;
    active_ = true;
  }
  void Stop() override { active_ = false; }
  bool IsActive() const override { return active_; }

  TimePoint Due() const { return due_; }
  void Fire() {
    active_ = false;
    // A copy: the callback may arm this timer again with another one.
    const std::function<void()> callback = onTimeout_;
    if (callback) callback();
  }

 private:
  PollLoop& loop_;
  std::function<void()> onTimeout_;
  TimePoint due_{};
  bool active_ = false;
};

class PollLoop::LoopReceiver final : public ReplyReceiver {
 public:
  LoopReceiver(PollLoop& loop, std::uint16_t port) : loop_(loop), port_(port) {
    loop_.receivers_.push_back(this);
  }
  ~LoopReceiver() override { std::erase(loop_.receivers_, this); }

  bool Open(std::string& error) override {
    if (listener_.Open(port_, &error)) return true;
    loop_.portRefused_ = true;
    return false;
  }
  // Closing the socket drops what the system still queues for it, so nothing
  // that arrived before the close is delivered after it.
  void Close() override { listener_.Close(); }
  bool IsOpen() const override { return listener_.IsOpen(); }
  std::intptr_t Handle() const { return listener_.Handle(); }

  void ReadPending() {
    // A handler may close the receiver (a configuration reply does): stop
    // then. A batch at most, so timers still run during a flood.
    std::string datagram;
    Arrival arrival;
    for (int batch = 0; batch < 256 && listener_.IsOpen() && listener_.Read(datagram, &arrival);
         ++batch)
      if (onDatagram) onDatagram(datagram, arrival);
  }

 private:
  PollLoop& loop_;
  std::uint16_t port_;
  UdpListener listener_;
};

std::unique_ptr<Timer> PollLoop::MakeTimer() {
  return std::make_unique<LoopTimer>(*this);
}

std::unique_ptr<ReplyReceiver> PollLoop::MakeReceiver() {
  return std::make_unique<LoopReceiver>(*this, port_);
}

std::optional<bool> PollLoop::PortReachesItself(const std::string& ownAddress) {
  return orvane::PortReachesItself(port_, ownAddress, std::chrono::milliseconds(200));
}

std::optional<FirewallState> PollLoop::ReadFirewall() {
  return orvane::ReadFirewall(port_);
}

template <typename T>
bool PollLoop::Holds(const std::vector<T*>& list, const T* item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

void PollLoop::RunOnce(std::chrono::milliseconds limit) {
  const TimePoint now = std::chrono::steady_clock::now();
  auto wait = std::max(limit, std::chrono::milliseconds(0));
  for (const LoopTimer* timer : timers_) {
    if (!timer->IsActive()) continue;
    // Rounded up, so the wait never ends just before the timer is due.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(timer->Due() - now);
    wait = std::clamp(left, std::chrono::milliseconds(0), wait);
  }
  std::vector<std::intptr_t> handles;
  for (const LoopReceiver* receiver : receivers_)
    if (receiver->IsOpen()) handles.push_back(receiver->Handle());
  ReadReceivers(WaitReadable(handles, wait));
  RunDueTimers();
}

void PollLoop::ReadReceivers(const std::vector<std::intptr_t>& readable) {
  // Handlers may make, close or destroy receivers: each is checked again
  // before it is read.
  const std::vector<LoopReceiver*> receivers = receivers_;
  for (LoopReceiver* receiver : receivers) {
    if (!Holds(receivers_, receiver) || !receiver->IsOpen()) continue;
    if (std::find(readable.begin(), readable.end(), receiver->Handle()) != readable.end())
      receiver->ReadPending();
  }
}

void PollLoop::RunDueTimers() {
  // Soonest first, each one only if no earlier callback stopped, re-armed or
  // destroyed it meanwhile.
  std::vector<LoopTimer*> due;
  const TimePoint now = std::chrono::steady_clock::now();
  for (LoopTimer* timer : timers_)
    if (timer->IsActive() && timer->Due() <= now) due.push_back(timer);
  std::stable_sort(due.begin(), due.end(),
                   [](const LoopTimer* a, const LoopTimer* b) { return a->Due() < b->Due(); });
  for (LoopTimer* timer : due)
    if (Holds(timers_, timer) && timer->IsActive() && timer->Due() <= now) timer->Fire();
}

}  // namespace orvane

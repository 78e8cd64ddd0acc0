#pragma once
// Time and replies for the setup run without a window system: one thread
// waits for the next timer or a datagram on the reply port, whichever comes
// first, and runs it as an event, as the window program's event loop does.
//
// Standard C++ over the platform's own wait (poll on Linux, select on
// Windows), so the command line builds wherever the core does, the Windows
// cross build included, and shows nothing it does not need: a Qt event loop
// would tie the program to Qt libraries for two objects.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/codec.h"
#include "device/setup_services.h"

namespace orvane {

class PollLoop final : public Clock, public ReceiverFactory {
 public:
  PollLoop() = default;
  PollLoop(const PollLoop&) = delete;
  PollLoop& operator=(const PollLoop&) = delete;

  std::unique_ptr<Timer> MakeTimer() override;
  std::unique_ptr<ReplyReceiver> MakeReceiver() override;
  std::optional<bool> PortReachesItself(const std::string& ownAddress) override;
  std::optional<FirewallState> ReadFirewall() override;
  // The receivers this loop makes listen on `port` (the reply port unless a
  // test asks for another).
  void SetReplyPort(std::uint16_t port) { port_ = port; }
  // Whether a receiver of this loop could not bind its port.
  bool PortRefused() const { return portRefused_; }

  // Waits until a timer falls due or a datagram arrives, but no longer than
  // `limit`, then runs every event that is due. Zero runs what is pending now.
  void RunOnce(std::chrono::milliseconds limit);

  class LoopTimer;
  class LoopReceiver;

 private:
  using TimePoint = std::chrono::steady_clock::time_point;
  void RunDueTimers();
  void ReadReceivers(const std::vector<std::intptr_t>& readable);
  template <typename T>
  static bool Holds(const std::vector<T*>& list, const T* item);

  std::uint16_t port_ = kReplyPort;
  bool portRefused_ = false;
  std::vector<LoopTimer*> timers_;
  std::vector<LoopReceiver*> receivers_;

  friend class LoopTimer;
  friend class LoopReceiver;
};

// The platform's wait: which of `handles` (sockets) become readable within
// `timeout`; none when the time runs out. wait_readable_<platform>.cpp.
std::vector<std::intptr_t> WaitReadable(const std::vector<std::intptr_t>& handles,
                                        std::chrono::milliseconds timeout);

}  // namespace orvane

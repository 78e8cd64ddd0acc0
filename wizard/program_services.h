#pragma once
// The services of the running wizard: this PC's network and desktop, and time
// and replies from the event loop. Built once, where the program starts.

#include "device/host_services.h"
#include "device/setup_services.h"
#include "wizard/event_loop_clock.h"
#include "wizard/udp_reply_receiver.h"

namespace orvane {

class ProgramServices {
 public:
  ProgramServices() = default;
  ProgramServices(const ProgramServices&) = delete;
  ProgramServices& operator=(const ProgramServices&) = delete;

  const Services& Get() const { return services_; }

 private:
  EventLoopClock clock_;
  UdpReceiverFactory receivers_;
  HostSender sender_;
  HostProber prober_;
  HostSettings settings_;
  HostDesktop desktop_;
  RandomCandidateSource candidates_;  // seeded once, from std::random_device
  Services services_{clock_, receivers_, sender_, prober_, settings_, desktop_, candidates_};
};

}  // namespace orvane

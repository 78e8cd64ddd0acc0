#include "hostnet/port_self_test.h"

#include <string>
#include <thread>

#include "hostnet/broadcast_sender.h"
#include "hostnet/udp_listener.h"

namespace orvane {

std::optional<bool> PortReachesItself(std::uint16_t port, std::string_view ownAddress,
                                      std::chrono::milliseconds wait) {
  UdpListener listener;
  if (!listener.Open(port, nullptr)) return std::nullopt;
  // Marked, so that only our own datagram counts, not a late device reply.
  const std::string probe = "ORVANE-SETUP-SELF-TEST";
  if (SendDatagramTo(probe, ownAddress, port, false).stage != SendOutcome::Stage::Sent)
    return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::string datagram;
  do {
    while (listener.Read(datagram))
      if (datagram == probe) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  } while (std::chrono::steady_clock::now() < deadline);
  return false;
}

}  // namespace orvane

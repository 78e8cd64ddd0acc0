#include "hostnet/broadcast_sender.h"

namespace orvane {

SendOutcome SendBroadcast(std::string_view bytes, std::uint16_t port) {
  return SendDatagramTo(bytes, kLimitedBroadcast, port, true);
}

SendOutcome SendBroadcastVia(std::string_view bytes, std::uint16_t port,
                             std::uint32_t interfaceIndex, std::string_view localAddress) {
  const Via via{interfaceIndex, localAddress};
  return SendDatagramVia(bytes, kLimitedBroadcast, port, true, &via);
}

SendOutcome SendDatagramTo(std::string_view bytes, std::string_view ipv4, std::uint16_t port,
                           bool broadcast) {
  return SendDatagramVia(bytes, ipv4, port, broadcast, nullptr);
}

}  // namespace orvane

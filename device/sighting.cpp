#include "device/sighting.h"

namespace orvane {

bool DeviceIsThere(std::string_view identity, bool echoAnswered, const Neighbour& arp) {
  if (ParseHardwareAddress(identity) && arp.hardware) return AnswersArpAsItself(identity, arp);
  return echoAnswered || arp.answer == NeighbourAnswer::Held;
}

bool AnswersArpAsItself(std::string_view identity, const Neighbour& arp) {
  const std::optional<HardwareAddress> own = ParseHardwareAddress(identity);
  return own && arp.answer == NeighbourAnswer::Held && arp.hardware == own;
}

}  // namespace orvane

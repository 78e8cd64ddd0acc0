// Order matters: winsock2.h before windows.h, and both before iphlpapi.h.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <optional>

#include "hostnet/ipv4_text.h"
#include "hostnet/neighbour.h"

namespace orvane {

// SendARP asks the link itself (or answers from the ARP cache), with its own
// time-out; there is nothing to resolve beforehand and no wait to give.
NeighbourAnswer AskNeighbour(std::string_view address, bool /*resolve*/,
                             std::chrono::milliseconds /*wait*/) {
  const std::optional<std::uint32_t> parsed = ParseDottedQuad(address);
  if (!parsed) return NeighbourAnswer::Unknown;
  ULONG mac[2] = {};
  ULONG length = 6;
  switch (SendARP(htonl(*parsed), 0, mac, &length)) {
    case NO_ERROR:
      return length > 0 ? NeighbourAnswer::Held : NeighbourAnswer::Silent;
    case ERROR_BAD_NET_NAME:
    case ERROR_GEN_FAILURE:
      return NeighbourAnswer::Silent;
    default:
      return NeighbourAnswer::Unknown;
  }
}

}  // namespace orvane

#pragma once
// The neighbour table (ARP): whether a host on a local link holds an address.
// A host that drops echo requests still answers ARP, since it needs ARP itself.

#include <chrono>
#include <string_view>

namespace orvane {

enum class NeighbourAnswer {
  Held,     // a host answered ARP for the address (or did so recently)
  Silent,   // the address was asked for on the link and no host answered
  Unknown,  // not on a local link (routed), this PC's own, or the table cannot be read
};

// What the system's neighbour table says about the address. Without
// `resolve` it only reads what an echo just sent has left there. With
// `resolve`, it first makes the system ask the link (Linux: an empty
// datagram to the discard port, which no privilege stops; Windows: SendARP)
// and waits up to `wait` for the answer.
NeighbourAnswer AskNeighbour(std::string_view address, bool resolve,
                             std::chrono::milliseconds wait);

}  // namespace orvane

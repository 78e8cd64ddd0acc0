#pragma once
// The neighbour table (ARP): whether a host on a local link holds an address,
// and which hardware address it answered with. A host that drops echo
// requests still answers ARP, since it needs ARP itself.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane {

enum class NeighbourAnswer {
  Held,     // a host answered ARP for the address (or did so recently)
  Silent,   // the address was asked for on the link and no host answered
  Unknown,  // not on a local link (routed), this PC's own, or the table cannot be read
};

// An Ethernet (EUI-48) address.
using HardwareAddress = std::array<std::uint8_t, 6>;

struct Neighbour {
  NeighbourAnswer answer = NeighbourAnswer::Unknown;
  // The hardware address the host answered with, when it is held and the
  // link's addresses are six bytes long.
  std::optional<HardwareAddress> hardware = {};
};

// Six pairs of hex digits separated by colons or by hyphens, one kind
// throughout ("00:0A:1B:2C:3D:4E", "00-0a-1b-2c-3d-4e"); anything else,
// blanks around it included, is not a hardware address.
std::optional<HardwareAddress> ParseHardwareAddress(std::string_view text);

// What the system's neighbour table says about the address. Without
// `resolve` it only reads what an echo just sent has left there. With
// `resolve`, it first makes the system ask the link (Linux: an empty
// datagram to the discard port, which no privilege stops; Windows: SendARP)
// and waits up to `wait` for the answer.
Neighbour AskNeighbour(std::string_view address, bool resolve, std::chrono::milliseconds wait);

// Makes the system ask the link for the address again and returns at once
// with what the table holds now: a host that answers shows on a later look.
// Never waits, so an address can be watched from an event loop.
Neighbour LookNeighbour(std::string_view address);

}  // namespace orvane

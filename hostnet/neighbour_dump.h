#pragma once
// Reading the kernel's answer to an IPv4 neighbour table dump (rtnetlink,
// RTM_GETNEIGH), one datagram at a time. Linux only: neighbour_dump_linux.cpp.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "hostnet/neighbour.h"

namespace orvane {

// What the kernel's entry for one address says.
struct NeighbourEntry {
  std::uint16_t state = 0;  // NUD_* bits
  bool hasLinkAddress = false;
  std::optional<HardwareAddress> hardware;  // when the link address is six bytes
};

enum class DumpStep { More, Done, Unknown };

// Reads one datagram of the dump that asked with sequence number `sequence`,
// received from netlink port `senderPort`, into `found` when it holds the
// entry for `target` (network byte order). Only the kernel (port 0) is
// believed, and only messages of this dump; every length is checked before
// what it covers is read. Unknown: the dump failed, was cut short, or was
// interrupted by a change of the table (NLM_F_DUMP_INTR), so what it holds
// is no answer either way.
DumpStep ReadNeighbourDatagram(const void* data, std::size_t size, std::uint32_t senderPort,
                               std::uint32_t sequence, std::uint32_t target,
                               std::optional<NeighbourEntry>& found);

}  // namespace orvane

#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane {

// Whether a datagram this PC sends to its own address reaches a socket bound
// to `port`: false means something on this PC (a firewall) drops the port,
// whatever the network does. It never leaves the PC. Nothing (nullopt) when
// the port cannot be bound or the datagram not sent. A firewall that lets a
// PC's traffic to itself pass may still drop the port from outside, so only
// false is a finding.
std::optional<bool> PortReachesItself(std::uint16_t port, std::string_view ownAddress,
                                      std::chrono::milliseconds wait);

}  // namespace orvane

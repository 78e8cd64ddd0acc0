#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// The echo data every probe carries: the 26 lower-case letters, no terminator.
inline constexpr std::string_view kEchoData = "abcdefghijklmnopqrstuvwxyz";

inline constexpr std::uint8_t kIcmpEchoReply = 0;
inline constexpr std::uint8_t kIcmpDestinationUnreachable = 3;
inline constexpr std::uint8_t kIcmpEchoRequest = 8;
inline constexpr std::uint8_t kIcmpTimeExceeded = 11;
inline constexpr std::uint8_t kIcmpParameterProblem = 12;

// The Internet checksum (RFC 1071) of the bytes, ready to store as is.
std::uint16_t InternetChecksum(std::string_view bytes);

// An ICMP echo request (header and kEchoData) with its checksum filled in.
std::string BuildEchoRequest(std::uint16_t identifier, std::uint16_t sequence);

// What a received packet means for the probe in flight.
enum class EchoMatch {
  Unrelated,  // someone else's traffic, a stale reply or our own request
  EchoReply,  // the target answered this very request
  Error,      // an ICMP error about this very request (e.g. unreachable)
};

// The request a reply must belong to. Addresses are in host byte order.
struct EchoKey {
  std::uint32_t target;
  std::uint16_t identifier;
  std::uint16_t sequence;
};

// A packet read from a raw ICMP socket: it starts with the IP header, whose
// length is taken from IHL. A raw socket sees every ICMP packet of the host,
// including our own request when the target is a local address, replies to
// other programs and replies that arrive after an earlier probe gave up, so
// an echo reply must match type, source, identifier and sequence. An error
// must quote our request (protocol, destination, type, identifier, sequence);
// its own source is the router or host that reports it.
EchoMatch ClassifyRawPacket(std::string_view packet, const EchoKey& key);

// A packet read from a datagram ICMP socket: no IP header, and the kernel has
// already put its own identifier into the request and filters replies by it,
// so the key's identifier is not compared. `source` is the sender's address
// from recvfrom, in host byte order. Errors reach such a socket as socket
// errors, not as packets.
EchoMatch ClassifyDatagramPacket(std::string_view packet, std::uint32_t source, const EchoKey& key);

}  // namespace orvane

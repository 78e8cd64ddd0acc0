#include "hostnet/icmp_packet.h"

namespace orvane {
namespace {

constexpr std::size_t kIcmpHeaderSize = 8;
constexpr std::size_t kMinIpHeaderSize = 20;
constexpr std::uint8_t kProtocolIcmp = 1;

std::uint8_t Byte(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]);
}

std::uint16_t Read16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>((Byte(bytes, at) << 8) | Byte(bytes, at + 1));
}

std::uint32_t Read32(std::string_view bytes, std::size_t at) {
  return (static_cast<std::uint32_t>(Read16(bytes, at)) << 16) | Read16(bytes, at + 2);
}

// Splits an IPv4 packet into header fields and payload; false when the bytes
// are too short for the header they announce.
bool SplitIpPacket(std::string_view packet, std::uint8_t& protocol, std::uint32_t& source,
                   std::uint32_t& destination, std::string_view& payload) {
  if (packet.size() < kMinIpHeaderSize || (Byte(packet, 0) >> 4) != 4) {
    return false;
  }
  const std::size_t headerSize = static_cast<std::size_t>(Byte(packet, 0) & 0x0F) * 4;
  if (headerSize < kMinIpHeaderSize || packet.size() < headerSize) {
    return false;
  }
  protocol = Byte(packet, 9);
  source = Read32(packet, 12);
  destination = Read32(packet, 16);
  payload = packet.substr(headerSize);
  return true;
}

bool IsOurRequest(std::string_view icmp, const EchoKey& key) {
  return icmp.size() >= kIcmpHeaderSize && Byte(icmp, 0) == kIcmpEchoRequest &&
         Read16(icmp, 4) == key.identifier && Read16(icmp, 6) == key.sequence;
}

}  // namespace

std::uint16_t InternetChecksum(std::string_view bytes) {
  std::uint32_t sum = 0;
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    sum += Read16(bytes, i);
  }
  if (i < bytes.size()) {
    sum += static_cast<std::uint32_t>(Byte(bytes, i)) << 8;
  }
  while (sum >> 16) {
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

std::string BuildEchoRequest(std::uint16_t identifier, std::uint16_t sequence) {
  std::string packet(kIcmpHeaderSize, '\0');
  packet[0] = static_cast<char>(kIcmpEchoRequest);
  packet[4] = static_cast<char>(identifier >> 8);
  packet[5] = static_cast<char>(identifier & 0xFF);
  packet[6] = static_cast<char>(sequence >> 8);
  packet[7] = static_cast<char>(sequence & 0xFF);
  packet += kEchoData;
  const std::uint16_t checksum = InternetChecksum(packet);
  packet[2] = static_cast<char>(checksum >> 8);
  packet[3] = static_cast<char>(checksum & 0xFF);
  return packet;
}

EchoMatch ClassifyRawPacket(std::string_view packet, const EchoKey& key) {
  std::uint8_t protocol = 0;
  std::uint32_t source = 0;
  std::uint32_t destination = 0;
  std::string_view icmp;
  if (!SplitIpPacket(packet, protocol, source, destination, icmp) || protocol != kProtocolIcmp ||
      icmp.size() < kIcmpHeaderSize) {
    return EchoMatch::Unrelated;
  }
  const std::uint8_t type = Byte(icmp, 0);
  if (type == kIcmpEchoReply) {
    const bool ours = source == key.target && Read16(icmp, 4) == key.identifier &&
                      Read16(icmp, 6) == key.sequence;
    return ours ? EchoMatch::EchoReply : EchoMatch::Unrelated;
  }
  if (type != kIcmpDestinationUnreachable && type != kIcmpTimeExceeded &&
      type != kIcmpParameterProblem) {
    return EchoMatch::Unrelated;
  }
  // An error quotes the IP header and at least 8 bytes of the packet it is
  // about, which for an echo request covers identifier and sequence.
  std::uint8_t quotedProtocol = 0;
  std::uint32_t quotedSource = 0;
  std::uint32_t quotedDestination = 0;
  std::string_view quotedIcmp;
  if (!SplitIpPacket(icmp.substr(kIcmpHeaderSize), quotedProtocol, quotedSource, quotedDestination,
                     quotedIcmp) ||
      quotedProtocol != kProtocolIcmp || quotedDestination != key.target ||
      !IsOurRequest(quotedIcmp, key)) {
    return EchoMatch::Unrelated;
  }
  return EchoMatch::Error;
}

EchoMatch ClassifyDatagramPacket(std::string_view packet, std::uint32_t source,
                                 const EchoKey& key) {
  if (packet.size() < kIcmpHeaderSize || Byte(packet, 0) != kIcmpEchoReply ||
      source != key.target || Read16(packet, 6) != key.sequence) {
    return EchoMatch::Unrelated;
  }
  return EchoMatch::EchoReply;
}

}  // namespace orvane

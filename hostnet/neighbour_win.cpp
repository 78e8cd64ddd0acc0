// Order matters: winsock2.h before windows.h, and both before iphlpapi.h.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <cstring>
#include <optional>
#include <vector>

#include "hostnet/ipv4_text.h"
#include "hostnet/neighbour.h"

namespace orvane {

namespace {

std::optional<HardwareAddress> SixBytes(const void* bytes, ULONG length) {
  if (length != sizeof(HardwareAddress)) return std::nullopt;
  HardwareAddress out{};
  std::memcpy(out.data(), bytes, out.size());
  return out;
}

// An empty datagram to the discard port: Windows resolves the address before
// it can send it, without making the caller wait.
void MakeSystemResolve(std::uint32_t target) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s != INVALID_SOCKET) {
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9);
    to.sin_addr.s_addr = target;
    sendto(s, "", 0, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    closesocket(s);
  }
  WSACleanup();
}

}  // namespace

// SendARP asks the link itself (or answers from the ARP cache), with its own
// time-out; there is nothing to resolve beforehand and no wait to give.
Neighbour AskNeighbour(std::string_view address, bool /*resolve*/,
                       std::chrono::milliseconds /*wait*/) {
  const std::optional<std::uint32_t> parsed = ParseDottedQuad(address);
  if (!parsed) return {};
  ULONG mac[2] = {};
  ULONG length = 6;
  switch (SendARP(htonl(*parsed), 0, mac, &length)) {
    case NO_ERROR:
      if (length == 0) return Neighbour{NeighbourAnswer::Silent};
      return Neighbour{NeighbourAnswer::Held, SixBytes(mac, length)};
    case ERROR_BAD_NET_NAME:
    case ERROR_GEN_FAILURE:
      return Neighbour{NeighbourAnswer::Silent};
    default:
      return {};
  }
}

// SendARP would block for its own time-out on a silent address, so a look
// reads the ARP table instead, after a datagram that makes Windows ask.
Neighbour LookNeighbour(std::string_view address) {
  const std::optional<std::uint32_t> parsed = ParseDottedQuad(address);
  if (!parsed) return {};
  const std::uint32_t target = htonl(*parsed);
  MakeSystemResolve(target);
  ULONG size = 0;
  if (GetIpNetTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER) return {};
  std::vector<unsigned char> buffer(size);
  auto* table = reinterpret_cast<MIB_IPNETTABLE*>(buffer.data());
  if (GetIpNetTable(table, &size, FALSE) != NO_ERROR) return {};
  for (DWORD i = 0; i < table->dwNumEntries; ++i) {
    const MIB_IPNETROW& row = table->table[i];
    if (row.dwAddr != target) continue;
    // An entry still being resolved, or given up, has no address (or, as some
    // stacks list it, all zeros): nobody answered.
    const std::optional<HardwareAddress> hardware = SixBytes(row.bPhysAddr, row.dwPhysAddrLen);
    if (row.dwType == MIB_IPNET_TYPE_INVALID || row.dwPhysAddrLen == 0 ||
        hardware == HardwareAddress{})
      return Neighbour{NeighbourAnswer::Silent};
    return Neighbour{NeighbourAnswer::Held, hardware};
  }
  return {};
}

}  // namespace orvane

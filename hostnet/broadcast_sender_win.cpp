#include <winsock2.h>

#include <climits>

#include "hostnet/broadcast_sender.h"
#include "hostnet/ipv4_text.h"

namespace orvane {
namespace {

constexpr WORD kWinsockVersion = 0x0101;
constexpr std::int32_t kWsaInvalidArgument = 10022;
constexpr std::int32_t kWsaMessageTooLong = 10040;
constexpr std::int32_t kWsaNotInitialised = 10093;

}  // namespace

SendOutcome SendDatagramVia(std::string_view bytes, std::string_view ipv4, std::uint16_t port,
                            bool broadcast, const Via* via) {
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    return {SendOutcome::Stage::SendFailed, kWsaMessageTooLong};
  }

  // Winsock is started and released around every send, so nothing of it
  // outlives the call. When it cannot start, the socket cannot be created
  // either, and the user is told so with WSANOTINITIALISED.
  WSADATA wsaData;
  if (WSAStartup(kWinsockVersion, &wsaData) != 0) {
    return {SendOutcome::Stage::CreateFailed, kWsaNotInitialised};
  }

  const std::optional<std::uint32_t> address = ParseDottedQuad(ipv4);
  if (!address) {
    WSACleanup();
    return {SendOutcome::Stage::SendFailed, kWsaInvalidArgument};
  }
  sockaddr_in destination{};
  destination.sin_family = AF_INET;
  destination.sin_port = htons(port);
  destination.sin_addr.s_addr = htonl(*address);

  const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) {
    const std::int32_t code = WSAGetLastError();
    WSACleanup();
    return {SendOutcome::Stage::CreateFailed, code};
  }

  if (broadcast) {
    // A refusal shows up as the send failing, which is what the user sees.
    const BOOL on = TRUE;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);
  }

  if (via) {
    // Bound to the adapter's own address, a limited broadcast leaves by that
    // adapter.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    const std::optional<std::uint32_t> own = ParseDottedQuad(via->localAddress);
    local.sin_addr.s_addr = htonl(own.value_or(0));
    if (bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) == SOCKET_ERROR) {
      const std::int32_t code = WSAGetLastError();
      closesocket(s);
      WSACleanup();
      return {SendOutcome::Stage::SendFailed, code};
    }
  }

  SendOutcome outcome{SendOutcome::Stage::Sent, 0};
  const int sent = sendto(s, bytes.data(), static_cast<int>(bytes.size()), 0,
                          reinterpret_cast<const sockaddr*>(&destination), sizeof destination);
  if (sent == SOCKET_ERROR) {
    outcome = {SendOutcome::Stage::SendFailed, WSAGetLastError()};
  }
  closesocket(s);
  WSACleanup();
  return outcome;
}

}  // namespace orvane

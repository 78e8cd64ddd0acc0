#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "hostnet/udp_listener.h"

namespace orvane {

namespace {
std::string ErrorText(int code) {
  char text[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
  return std::to_string(code) + " " + text;
}
}  // namespace

UdpListener::~UdpListener() {
  Close();
}

bool UdpListener::Open(std::uint16_t port, std::string* error) {
  Close();
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
    if (error) *error = ErrorText(WSANOTINITIALISED);
    return false;
  }
  const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) {
    if (error) *error = ErrorText(WSAGetLastError());
    WSACleanup();
    return false;
  }
  // Exclusive, so another program cannot bind the port beside us either.
  BOOL exclusive = TRUE;
  setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
             sizeof exclusive);
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(port);
  any.sin_addr.s_addr = htonl(INADDR_ANY);
  if (bind(s, reinterpret_cast<const sockaddr*>(&any), sizeof any) == SOCKET_ERROR) {
    if (error) *error = ErrorText(WSAGetLastError());
    closesocket(s);
    WSACleanup();
    return false;
  }
  handle_ = static_cast<std::intptr_t>(s);
  return true;
}

void UdpListener::Close() {
  if (!IsOpen()) return;
  closesocket(static_cast<SOCKET>(handle_));
  handle_ = kNoHandle;
  WSACleanup();
}

bool UdpListener::Read(std::string& datagram) {
  if (!IsOpen()) return false;
  char* buffer = Buffer();
  const int n = recv(static_cast<SOCKET>(handle_), buffer, int(kMaxDatagram), 0);
  if (n == SOCKET_ERROR) return false;  // WSAEWOULDBLOCK: nothing pending
  datagram.assign(buffer, static_cast<std::size_t>(n));
  return true;
}

}  // namespace orvane

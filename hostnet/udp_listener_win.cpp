#include <winsock2.h>
#include <ws2tcpip.h>

#include <mswsock.h>

#include <cstring>

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
  // Every datagram then carries the adapter it came in on, so a device can
  // be set up with the settings of the network it is on. WSARecvMsg, which
  // reads it, is an extension reached through a function pointer; without
  // it the datagrams still come, only without their adapter.
  DWORD on = 1;
  setsockopt(s, IPPROTO_IP, IP_PKTINFO, reinterpret_cast<const char*>(&on), sizeof on);
  GUID id = WSAID_WSARECVMSG;
  LPFN_WSARECVMSG function = nullptr;
  DWORD bytes = 0;
  receiveMessage_ = nullptr;
  if (WSAIoctl(s, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &function, sizeof function,
               &bytes, nullptr, nullptr) == 0)
    receiveMessage_ = reinterpret_cast<void*>(function);
  handle_ = static_cast<std::intptr_t>(s);
  return true;
}

void UdpListener::Close() {
  if (!IsOpen()) return;
  closesocket(static_cast<SOCKET>(handle_));
  handle_ = kNoHandle;
  WSACleanup();
}

bool UdpListener::Read(std::string& datagram, Arrival* arrival) {
  if (!IsOpen()) return false;
  char* buffer = Buffer();
  if (arrival) *arrival = {};
  const auto receiveMessage = reinterpret_cast<LPFN_WSARECVMSG>(receiveMessage_);
  if (!receiveMessage) {
    const int n = recv(static_cast<SOCKET>(handle_), buffer, int(kMaxDatagram), 0);
    if (n == SOCKET_ERROR) return false;  // WSAEWOULDBLOCK: nothing pending
    datagram.assign(buffer, static_cast<std::size_t>(n));
    return true;
  }
  WSABUF data{static_cast<ULONG>(kMaxDatagram), buffer};
  alignas(WSACMSGHDR) char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))] = {};
  WSAMSG message{};
  message.lpBuffers = &data;
  message.dwBufferCount = 1;
  message.Control.buf = control;
  message.Control.len = sizeof control;
  DWORD n = 0;
  if (receiveMessage(static_cast<SOCKET>(handle_), &message, &n, nullptr, nullptr) == SOCKET_ERROR)
    return false;  // WSAEWOULDBLOCK: nothing pending
  datagram.assign(buffer, static_cast<std::size_t>(n));
  if (!arrival) return true;
  for (WSACMSGHDR* c = WSA_CMSG_FIRSTHDR(&message); c != nullptr;
       c = WSA_CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_PKTINFO) continue;
    IN_PKTINFO info;
    std::memcpy(&info, WSA_CMSG_DATA(c), sizeof info);
    arrival->interfaceIndex = info.ipi_ifindex;
    // Windows gives the datagram's destination here, which is this PC's own
    // address unless the reply was broadcast.
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &info.ipi_addr, text, sizeof text);
    arrival->localAddress = text;
  }
  return true;
}

}  // namespace orvane

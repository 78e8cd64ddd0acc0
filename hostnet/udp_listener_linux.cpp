#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "hostnet/ipv4_text.h"
#include "hostnet/udp_listener.h"

namespace orvane {

UdpListener::~UdpListener() {
  Close();
}

bool UdpListener::Open(std::uint16_t port, std::string* error) {
  Close();
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd < 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  // No SO_REUSEADDR: on Linux it would let two programs bind the same UDP port.
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(port);
  any.sin_addr.s_addr = htonl(INADDR_ANY);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
    if (error) *error = std::strerror(errno);
    close(fd);
    return false;
  }
  // Every datagram then carries the adapter it came in on, so a device can
  // be set up with the settings of the network it is on.
  const int on = 1;
  setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
  handle_ = fd;
  return true;
}

void UdpListener::Close() {
  if (!IsOpen()) return;
  close(static_cast<int>(handle_));
  handle_ = kNoHandle;
}

bool UdpListener::Read(std::string& datagram, Arrival* arrival) {
  if (!IsOpen()) return false;
  char* buffer = Buffer();
  iovec data{buffer, kMaxDatagram};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
  msghdr message{};
  message.msg_iov = &data;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t n = recvmsg(static_cast<int>(handle_), &message, 0);
  if (n < 0) return false;  // EAGAIN: nothing pending (or an error to retry later)
  datagram.assign(buffer, static_cast<std::size_t>(n));
  if (arrival) {
    *arrival = {};
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
      if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_PKTINFO) continue;
      in_pktinfo info;
      std::memcpy(&info, CMSG_DATA(c), sizeof info);
      arrival->interfaceIndex = static_cast<std::uint32_t>(info.ipi_ifindex);
      // ipi_spec_dst: this PC's own address on that adapter, also for a
      // datagram sent to a broadcast address.
      arrival->localAddress = FormatDottedQuad(ntohl(info.ipi_spec_dst.s_addr));
    }
  }
  return true;
}

}  // namespace orvane

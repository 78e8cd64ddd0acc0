#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "hostnet/broadcast_sender.h"
#include "hostnet/ipv4_text.h"
#include "hostnet/socket_errors.h"

namespace orvane {
namespace {

constexpr std::int32_t kWsaInvalidArgument = 10022;

// Closes the socket on every path out of SendDatagramTo without disturbing
// the errno that decides the outcome.
class SocketCloser {
 public:
  explicit SocketCloser(int fd) : fd_(fd) {}
  ~SocketCloser() {
    const int saved = errno;
    ::close(fd_);
    errno = saved;
  }
  SocketCloser(const SocketCloser&) = delete;
  SocketCloser& operator=(const SocketCloser&) = delete;

 private:
  int fd_;
};

}  // namespace

SendOutcome SendDatagramVia(std::string_view bytes, std::string_view ipv4, std::uint16_t port,
                            bool broadcast, const Via* via) {
  const std::optional<std::uint32_t> address = ParseDottedQuad(ipv4);
  if (!address) {
    return {SendOutcome::Stage::SendFailed, kWsaInvalidArgument};
  }
  sockaddr_in destination{};
  destination.sin_family = AF_INET;
  destination.sin_port = htons(port);
  destination.sin_addr.s_addr = htonl(*address);

  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd < 0) {
    return {SendOutcome::Stage::CreateFailed, WsaCodeFromErrno(errno)};
  }
  SocketCloser closer(fd);

  if (broadcast) {
    // Not checked: a refusal shows up as the send failing, which is the
    // failure the user is told about.
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  }

  iovec data{const_cast<char*>(bytes.data()), bytes.size()};
  msghdr message{};
  message.msg_name = &destination;
  message.msg_namelen = sizeof destination;
  message.msg_iov = &data;
  message.msg_iovlen = 1;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
  if (via) {
    // IP_PKTINFO names the adapter for this one datagram: a limited
    // broadcast then leaves by it without a route, and needs no privilege
    // (SO_BINDTODEVICE would).
    in_pktinfo info{};
    info.ipi_ifindex = static_cast<int>(via->interfaceIndex);
    if (const auto local = ParseDottedQuad(via->localAddress))
      info.ipi_spec_dst.s_addr = htonl(*local);
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&message);
    c->cmsg_level = IPPROTO_IP;
    c->cmsg_type = IP_PKTINFO;
    c->cmsg_len = CMSG_LEN(sizeof info);
    std::memcpy(CMSG_DATA(c), &info, sizeof info);
  }
  // MSG_NOSIGNAL: a datagram socket raises no SIGPIPE, but the flag keeps it
  // that way whatever the kernel decides for an unusual error.
  const ssize_t sent = ::sendmsg(fd, &message, MSG_NOSIGNAL);
  if (sent < 0) {
    return {SendOutcome::Stage::SendFailed, WsaCodeFromErrno(errno)};
  }
  return {SendOutcome::Stage::Sent, 0};
}

}  // namespace orvane

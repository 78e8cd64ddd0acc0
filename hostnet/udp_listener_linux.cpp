#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
  handle_ = fd;
  return true;
}

void UdpListener::Close() {
  if (!IsOpen()) return;
  close(static_cast<int>(handle_));
  handle_ = kNoHandle;
}

bool UdpListener::Read(std::string& datagram) {
  if (!IsOpen()) return false;
  char* buffer = Buffer();
  const ssize_t n = recv(static_cast<int>(handle_), buffer, kMaxDatagram, 0);
  if (n < 0) return false;  // EAGAIN: nothing pending (or an error to retry later)
  datagram.assign(buffer, static_cast<std::size_t>(n));
  return true;
}

}  // namespace orvane

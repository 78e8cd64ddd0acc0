#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <ctime>
#include <optional>
#include <random>

#include "hostnet/icmp_packet.h"
#include "hostnet/icmp_probe.h"
#include "hostnet/ipv4_text.h"

namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;
// Room for any reply or error we care about (the IP header of up to 60
// bytes, the ICMP header and our data, or an error quoting our request).
constexpr std::size_t kReceiveBufferSize = 1500;

thread_local std::int32_t lastProbeErrno = 0;

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The raw socket carries this identifier; replies to other programs and
// other processes of this program carry others.
std::uint16_t ProcessIdentifier() {
  return static_cast<std::uint16_t>(::getpid() & 0xFFFF);
}

// A fresh sequence number per probe, starting at a random point so that two
// runs of the program do not reuse each other's numbers at once. A reply
// that arrives after its probe gave up thus never matches a later probe.
std::uint16_t NextSequence() {
  static std::uint16_t sequence = static_cast<std::uint16_t>(std::random_device{}());
  return ++sequence;
}

// Send errors that say the address cannot answer (no route, the link is
// down, an earlier ICMP error from the way there), as opposed to errors of
// our own side, which say nothing about the address. EACCES on a send means
// the address is a subnet broadcast address, which no single host holds.
bool IsDestinationError(int error) {
  switch (error) {
    case ENETUNREACH:
    case EHOSTUNREACH:
    case EHOSTDOWN:
    case ENETDOWN:
    case ECONNREFUSED:
    case EACCES:
      return true;
    default:
      return false;
  }
}

ProbeResult CouldNotProbe(int error) {
  lastProbeErrno = error;
  return ProbeResult::CouldNotProbe;
}

void ConfigureSocket(int fd, bool datagram) {
  if (datagram) {
    // Without this, an ICMP error about an unconnected datagram ICMP socket
    // is dropped and the probe would wait out its time for nothing.
    const int on = 1;
    ::setsockopt(fd, SOL_IP, IP_RECVERR, &on, sizeof on);
  } else {
    // Let only echo replies and the errors that may quote our request wake
    // us; above all not our own request when the target is a local address.
    // Matching does not rely on this filter.
    icmp_filter filter{};
    filter.data = ~((1u << kIcmpEchoReply) | (1u << kIcmpDestinationUnreachable) |
                    (1u << kIcmpTimeExceeded) | (1u << kIcmpParameterProblem));
    ::setsockopt(fd, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
  }
}

timespec ToTimespec(Clock::duration d) {
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
  return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

// Waits for the reply to the request just sent, until the deadline.
ProbeResult AwaitReply(int fd, bool datagram, const EchoKey& key, Clock::time_point deadline) {
  std::array<char, kReceiveBufferSize> buffer;
  for (;;) {
    const Clock::duration remaining = deadline - Clock::now();
    if (remaining <= Clock::duration::zero()) {
      return ProbeResult::NoAnswer;
    }
    pollfd waiter{fd, POLLIN, 0};
    const timespec wait = ToTimespec(remaining);
    const int ready = ::ppoll(&waiter, 1, &wait, nullptr);
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      return CouldNotProbe(errno);
    }
    if (ready == 0) {
      return ProbeResult::NoAnswer;
    }

    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    const ssize_t n = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                 reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) {
        continue;
      }
      // A datagram ICMP socket belongs to this one request, so a pending
      // error (unreachable, time exceeded) is about it. A raw socket also
      // hears errors about other programs' pings; ours arrives as a packet.
      if (datagram) {
        return ProbeResult::NoAnswer;
      }
      continue;
    }
    const std::string_view packet(buffer.data(), static_cast<std::size_t>(n));
    const EchoMatch kind = datagram
                               ? ClassifyDatagramPacket(packet, ntohl(from.sin_addr.s_addr), key)
                               : ClassifyRawPacket(packet, key);
    if (kind == EchoMatch::EchoReply) {
      return ProbeResult::Answered;
    }
    if (kind == EchoMatch::Error) {
      return ProbeResult::NoAnswer;
    }
  }
}

}  // namespace

ProbeResult Probe(std::string_view address, std::chrono::milliseconds timeout, ProbeMethod method) {
  lastProbeErrno = 0;
  const std::optional<std::uint32_t> target = ParseDottedQuad(address);
  if (!target || *target == kLimitedBroadcast) {
    return ProbeResult::InvalidAddress;
  }

  // The datagram socket needs no privilege where ping_group_range admits
  // our group; the raw socket needs CAP_NET_RAW.
  bool datagram = method != ProbeMethod::Raw;
  int fd = -1;
  if (datagram) {
    fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
      if (method == ProbeMethod::Datagram) {
        return CouldNotProbe(errno);
      }
      datagram = false;
    }
  }
  if (!datagram) {
    fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
      return CouldNotProbe(errno);
    }
  }
  const Fd owner(fd);
  ConfigureSocket(fd, datagram);

  // The kernel replaces the identifier of a datagram ICMP socket with its
  // own and delivers to the socket only the replies that carry it.
  const EchoKey key{*target, datagram ? std::uint16_t{0} : ProcessIdentifier(), NextSequence()};
  const std::string request = BuildEchoRequest(key.identifier, key.sequence);
  sockaddr_in destination{};
  destination.sin_family = AF_INET;
  destination.sin_addr.s_addr = htonl(*target);

  const Clock::time_point deadline = Clock::now() + timeout;
  if (::sendto(fd, request.data(), request.size(), 0,
               reinterpret_cast<const sockaddr*>(&destination), sizeof destination) < 0) {
    const int error = errno;
    return IsDestinationError(error) ? ProbeResult::NoAnswer : CouldNotProbe(error);
  }
  return AwaitReply(fd, datagram, key, deadline);
}

std::int32_t LastProbeErrno() {
  return lastProbeErrno;
}

}  // namespace orvane

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
#include <span>
#include <vector>

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
// our own side, which say nothing about the address.
bool IsDestinationError(int error) {
  switch (error) {
    case ENETUNREACH:
    case EHOSTUNREACH:
    case EHOSTDOWN:
    case ENETDOWN:
    case ECONNREFUSED:
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

// One echo in flight: its socket, the request it must match and, once
// settled, its result.
struct Flight {
  int fd = -1;
  bool datagram = true;
  EchoKey key{};
  std::optional<ProbeResult> result;
};

// Opens the socket for one echo. The datagram socket needs no privilege where
// ping_group_range admits our group; the raw socket needs CAP_NET_RAW.
std::optional<ProbeResult> OpenFlight(Flight& flight, ProbeMethod method) {
  flight.datagram = method != ProbeMethod::Raw;
  if (flight.datagram) {
    flight.fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (flight.fd < 0) {
      if (method == ProbeMethod::Datagram) {
        return CouldNotProbe(errno);
      }
      flight.datagram = false;
    }
  }
  if (!flight.datagram) {
    flight.fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (flight.fd < 0) {
      return CouldNotProbe(errno);
    }
  }
  ConfigureSocket(flight.fd, flight.datagram);
  return std::nullopt;
}

std::optional<ProbeResult> SendRequest(Flight& flight) {
  // The kernel replaces the identifier of a datagram ICMP socket with its
  // own and delivers to the socket only the replies that carry it.
  const std::string request = BuildEchoRequest(flight.key.identifier, flight.key.sequence);
  sockaddr_in destination{};
  destination.sin_family = AF_INET;
  destination.sin_addr.s_addr = htonl(flight.key.target);
  if (::sendto(flight.fd, request.data(), request.size(), 0,
               reinterpret_cast<const sockaddr*>(&destination), sizeof destination) < 0) {
    const int error = errno;
    // EACCES: the system refuses to echo to a broadcast address of one of
    // its networks. No single host holds such an address, and it is never
    // one to hand out: not a silent host, not free.
    if (error == EACCES) return ProbeResult::InvalidAddress;
    return IsDestinationError(error) ? ProbeResult::NoAnswer : CouldNotProbe(error);
  }
  return std::nullopt;
}

// Reads what is pending on a flight's socket; settles it on its reply or an
// error about its request.
void ReadPending(Flight& flight) {
  std::array<char, kReceiveBufferSize> buffer;
  for (;;) {
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    const ssize_t n = ::recvfrom(flight.fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                 reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      if (errno == EAGAIN) {
        return;
      }
      // A datagram ICMP socket belongs to this one request, so a pending
      // error (unreachable, time exceeded) is about it. A raw socket also
      // hears errors about other programs' pings; ours arrives as a packet.
      if (flight.datagram) {
        flight.result = ProbeResult::NoAnswer;
        return;
      }
      continue;
    }
    const std::string_view packet(buffer.data(), static_cast<std::size_t>(n));
    const EchoMatch kind =
        flight.datagram ? ClassifyDatagramPacket(packet, ntohl(from.sin_addr.s_addr), flight.key)
                        : ClassifyRawPacket(packet, flight.key);
    if (kind == EchoMatch::EchoReply) {
      flight.result = ProbeResult::Answered;
      return;
    }
    if (kind == EchoMatch::Error) {
      flight.result = ProbeResult::NoAnswer;
      return;
    }
  }
}

// Waits for the replies to the requests just sent, all at once, until the
// deadline; what has not settled by then had no answer.
void AwaitReplies(std::vector<Flight>& flights, Clock::time_point deadline) {
  std::vector<pollfd> waiters;
  std::vector<Flight*> waiting;
  for (;;) {
    waiters.clear();
    waiting.clear();
    for (Flight& flight : flights) {
      if (!flight.result) {
        waiters.push_back({flight.fd, POLLIN, 0});
        waiting.push_back(&flight);
      }
    }
    if (waiting.empty()) {
      return;
    }
    const Clock::duration remaining = deadline - Clock::now();
    if (remaining <= Clock::duration::zero()) {
      break;
    }
    const timespec wait = ToTimespec(remaining);
    const int ready = ::ppoll(waiters.data(), waiters.size(), &wait, nullptr);
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      const ProbeResult failed = CouldNotProbe(errno);
      for (Flight* flight : waiting) flight->result = failed;
      return;
    }
    if (ready == 0) {
      break;
    }
    for (std::size_t i = 0; i < waiters.size(); ++i) {
      if (waiters[i].revents != 0) {
        ReadPending(*waiting[i]);
      }
    }
  }
  for (Flight* flight : waiting) flight->result = ProbeResult::NoAnswer;
}

}  // namespace

ProbeResult Probe(std::string_view address, std::chrono::milliseconds timeout, ProbeMethod method) {
  const std::string one(address);
  return ProbeAll(std::span(&one, 1), timeout, method).front();
}

std::vector<ProbeResult> ProbeAll(std::span<const std::string> addresses,
                                  std::chrono::milliseconds timeout, ProbeMethod method) {
  lastProbeErrno = 0;
  std::vector<Flight> flights(addresses.size());
  // Every request goes out before any reply is awaited: n probes take the
  // time of one.
  const Clock::time_point deadline = Clock::now() + timeout;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    Flight& flight = flights[i];
    const std::optional<std::uint32_t> target = ParseDottedQuad(addresses[i]);
    if (!target || *target == kLimitedBroadcast) {
      flight.result = ProbeResult::InvalidAddress;
      continue;
    }
    flight.result = OpenFlight(flight, method);
    if (flight.result) {
      continue;
    }
    flight.key = {*target, flight.datagram ? std::uint16_t{0} : ProcessIdentifier(),
                  NextSequence()};
    flight.result = SendRequest(flight);
  }
  AwaitReplies(flights, deadline);
  std::vector<ProbeResult> results;
  results.reserve(flights.size());
  for (Flight& flight : flights) {
    if (flight.fd >= 0) {
      ::close(flight.fd);
    }
    results.push_back(*flight.result);
  }
  return results;
}

std::int32_t LastProbeErrno() {
  return lastProbeErrno;
}

}  // namespace orvane

#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <optional>
#include <thread>

#include "hostnet/ipv4_text.h"
#include "hostnet/neighbour.h"
#include "hostnet/neighbour_dump.h"

namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;

using Entry = NeighbourEntry;

// Reads the IPv4 neighbour table through rtnetlink (RTM_GETNEIGH, a dump,
// which needs no privilege) and returns the entry for `target` (network
// byte order); nothing when there is none or the dump gave no sure answer.
std::optional<Entry> FindEntry(std::uint32_t target) {
  const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
  if (fd < 0) return std::nullopt;
  // The kernel answers at once; a second is a generous bound on a busy PC,
  // and a look never hangs the run.
  const timeval limit{1, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  // Each dump its own number, so no answer to an earlier one is taken for it.
  static std::atomic<std::uint32_t> lastSequence{
      static_cast<std::uint32_t>(Clock::now().time_since_epoch().count())};
  const std::uint32_t sequence = ++lastSequence;
  struct {
    nlmsghdr header;
    ndmsg body;
  } request{};
  request.header.nlmsg_len = sizeof request;
  request.header.nlmsg_type = RTM_GETNEIGH;
  request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  request.header.nlmsg_seq = sequence;
  request.body.ndm_family = AF_INET;
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  std::optional<Entry> found;
  if (::sendto(fd, &request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&kernel),
               sizeof kernel) < 0) {
    ::close(fd);
    return std::nullopt;
  }
  alignas(nlmsghdr) std::array<char, 32768> buffer;
  DumpStep step = DumpStep::More;
  while (step == DumpStep::More) {
    sockaddr_nl sender{};
    iovec part{buffer.data(), buffer.size()};
    msghdr message{};
    message.msg_name = &sender;
    message.msg_namelen = sizeof sender;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    const ssize_t n = ::recvmsg(fd, &message, 0);
    // A datagram cut to the buffer lost entries: no sure answer.
    if (n <= 0 || (message.msg_flags & MSG_TRUNC) != 0 || sender.nl_family != AF_NETLINK) {
      step = DumpStep::Unknown;
      break;
    }
    step = ReadNeighbourDatagram(buffer.data(), std::size_t(n), sender.nl_pid, sequence, target,
                                 found);
  }
  ::close(fd);
  return step == DumpStep::Done ? found : std::nullopt;
}

// Held: the entry has a link-layer address that was confirmed or is being
// used (STALE, DELAY and PROBE entries once had an answer and are kept as in
// use: taking an address a host held moments ago is the mistake to avoid).
// Silent: the kernel asked and is still waiting, or gave up.
std::optional<Neighbour> Judge(const std::optional<Entry>& entry) {
  if (!entry) return std::nullopt;
  constexpr std::uint16_t kHeld = NUD_REACHABLE | NUD_STALE | NUD_DELAY | NUD_PROBE | NUD_PERMANENT;
  if ((entry->state & kHeld) != 0 && entry->hasLinkAddress)
    return Neighbour{NeighbourAnswer::Held, entry->hardware};
  if ((entry->state & (NUD_INCOMPLETE | NUD_FAILED)) != 0)
    return Neighbour{NeighbourAnswer::Silent};
  return Neighbour{};
}

// An empty datagram to the discard port: the kernel resolves the address
// before it can send it, as it would for an echo.
void MakeKernelResolve(std::uint32_t target) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd < 0) return;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(9);
  to.sin_addr.s_addr = target;
  ::sendto(fd, "", 0, MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  ::close(fd);
}

}  // namespace

Neighbour AskNeighbour(std::string_view address, bool resolve, std::chrono::milliseconds wait) {
  const std::optional<std::uint32_t> parsed = ParseDottedQuad(address);
  if (!parsed) return {};
  const std::uint32_t target = htonl(*parsed);
  if (!resolve) return Judge(FindEntry(target)).value_or(Neighbour{});
  MakeKernelResolve(target);
  const Clock::time_point deadline = Clock::now() + wait;
  for (;;) {
    const std::optional<Entry> entry = FindEntry(target);
    const std::optional<Neighbour> answer = Judge(entry);
    // Still asking: wait for the answer, or for the time to run out.
    const bool asking = entry && (entry->state & NUD_INCOMPLETE) != 0;
    if (!asking || Clock::now() >= deadline) return answer.value_or(Neighbour{});
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

Neighbour LookNeighbour(std::string_view address) {
  // The datagram queued for the address makes the kernel ask the link (again,
  // after a failed attempt); the answer is in the table by the next look.
  return AskNeighbour(address, true, std::chrono::milliseconds(0));
}

}  // namespace orvane

#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <optional>
#include <thread>

#include "hostnet/ipv4_text.h"
#include "hostnet/neighbour.h"

namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;

// What the kernel's entry for one address says, if it has one.
struct Entry {
  std::uint16_t state;
  bool hasLinkAddress;
  std::optional<HardwareAddress> hardware;  // when the link address is six bytes
};

// Reads the IPv4 neighbour table through rtnetlink (RTM_GETNEIGH, a dump,
// which needs no privilege) and returns the entry for `target` (network
// byte order).
std::optional<Entry> FindEntry(std::uint32_t target) {
  const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
  if (fd < 0) return std::nullopt;
  struct {
    nlmsghdr header;
    ndmsg body;
  } request{};
  request.header.nlmsg_len = sizeof request;
  request.header.nlmsg_type = RTM_GETNEIGH;
  request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  request.header.nlmsg_seq = 1;
  request.body.ndm_family = AF_INET;
  std::optional<Entry> found;
  if (::send(fd, &request, sizeof request, 0) < 0) {
    ::close(fd);
    return std::nullopt;
  }
  alignas(nlmsghdr) std::array<char, 16384> buffer;
  for (bool done = false; !done;) {
    const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
    if (n <= 0) break;
    int left = static_cast<int>(n);
    for (auto* h = reinterpret_cast<nlmsghdr*>(buffer.data()); NLMSG_OK(h, left);
         h = NLMSG_NEXT(h, left)) {
      if (h->nlmsg_type == NLMSG_DONE || h->nlmsg_type == NLMSG_ERROR) {
        done = true;
        break;
      }
      if (h->nlmsg_type != RTM_NEWNEIGH) continue;
      const auto* entry = static_cast<const ndmsg*>(NLMSG_DATA(h));
      if (entry->ndm_family != AF_INET) continue;
      int attributesLeft = static_cast<int>(RTM_PAYLOAD(h));
      bool matches = false;
      bool hasLinkAddress = false;
      std::optional<HardwareAddress> hardware;
      for (auto* a = reinterpret_cast<rtattr*>(const_cast<ndmsg*>(entry) + 1);
           RTA_OK(a, attributesLeft); a = RTA_NEXT(a, attributesLeft)) {
        if (a->rta_type == NDA_DST && RTA_PAYLOAD(a) == sizeof(std::uint32_t)) {
          std::uint32_t dst;
          std::memcpy(&dst, RTA_DATA(a), sizeof dst);
          matches = dst == target;
        } else if (a->rta_type == NDA_LLADDR && RTA_PAYLOAD(a) > 0) {
          hasLinkAddress = true;
          if (RTA_PAYLOAD(a) == sizeof(HardwareAddress)) {
            hardware.emplace();
            std::memcpy(hardware->data(), RTA_DATA(a), hardware->size());
          }
        }
      }
      if (matches) found = Entry{entry->ndm_state, hasLinkAddress, hardware};
    }
  }
  ::close(fd);
  return found;
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

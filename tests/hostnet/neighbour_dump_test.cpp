// The neighbour dump reader against datagrams built by hand: what the kernel
// sends, and what it never would (another sender, a stale dump, lengths that
// run past the datagram).
#include "hostnet/neighbour_dump.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <linux/neighbour.h>
#include <linux/rtnetlink.h>

namespace orvane {
namespace {

constexpr std::uint32_t kSequence = 77;
const std::uint32_t kTarget = inet_addr("192.168.1.57");

template <typename T>
std::string Bytes(const T& value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// A netlink message (its length `extra` bytes off) or an attribute, padded.
std::string Message(std::uint16_t type, const std::string& payload, std::uint16_t flags = 0,
                    std::uint32_t sequence = kSequence, int extra = 0) {
  const nlmsghdr header{std::uint32_t(int(NLMSG_LENGTH(payload.size())) + extra), type, flags,
                        sequence, 0};
  return (Bytes(header) + payload).append(NLMSG_ALIGN(payload.size()) - payload.size(), '\0');
}
std::string Attribute(std::uint16_t type, const std::string& value, int extra = 0) {
  const rtattr head{std::uint16_t(int(RTA_LENGTH(value.size())) + extra), type};
  return (Bytes(head) + value).append(RTA_ALIGN(value.size()) - value.size(), '\0');
}
std::string Entry(std::uint32_t address, int extra = 0) {
  const ndmsg body{AF_INET, 0, 0, 2, NUD_REACHABLE, 0, 0};
  return Bytes(body) + Attribute(NDA_DST, Bytes(address)) +
         Attribute(NDA_LLADDR, "\x02\x00\x00\x00\x00\x09", extra);
}

TEST(NeighbourDump, OnlyTheKernelsAnswerToThisDumpCounts) {
  const std::string entry = Message(RTM_NEWNEIGH, Entry(kTarget));
  const std::string done = Message(NLMSG_DONE, std::string(4, '\0'));
  const struct {
    const char* what;
    std::string datagram;
    std::uint32_t sender;
    DumpStep step;
    bool found;
  } cases[] = {
      {"the entry, then done", entry + done, 0, DumpStep::Done, true},
      {"another address", Message(RTM_NEWNEIGH, Entry(kTarget + 1)) + done, 0, DumpStep::Done,
       false},
      {"from another process", entry + done, 4242, DumpStep::More, false},
      {"an earlier dump", Message(RTM_NEWNEIGH, Entry(kTarget), 0, kSequence - 1), 0,
       DumpStep::More, false},
      {"interrupted by a change", Message(RTM_NEWNEIGH, Entry(kTarget), NLM_F_DUMP_INTR), 0,
       DumpStep::Unknown, false},
      {"an error", Message(NLMSG_ERROR, std::string(4, '\xff')), 0, DumpStep::Unknown, false},
      {"a length past the datagram", Message(RTM_NEWNEIGH, Entry(kTarget), 0, kSequence, 8), 0,
       DumpStep::Unknown, false},
      {"too short for its entry", Message(RTM_NEWNEIGH, std::string(4, '\0')) + done, 0,
       DumpStep::Done, false},
      {"an attribute past its message", Message(RTM_NEWNEIGH, Entry(kTarget, 64)) + done, 0,
       DumpStep::Done, true},
      {"half a header", entry.substr(0, 10), 0, DumpStep::More, false},
  };
  for (const auto& c : cases) {
    std::optional<NeighbourEntry> found;
    const std::string datagram = c.datagram;  // its own size: a read past it is caught
    EXPECT_EQ(ReadNeighbourDatagram(datagram.data(), datagram.size(), c.sender, kSequence, kTarget,
                                    found),
              c.step)
        << c.what;
    EXPECT_EQ(found.has_value(), c.found) << c.what;
  }
}

}  // namespace
}  // namespace orvane

// The neighbour dump reader against datagrams built by hand: what the kernel
// sends, and what it never would (another sender, a stale dump, lengths that
// run past the datagram).
#include "hostnet/neighbour_dump.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>

#include <cstring>
#include <string>

namespace orvane {
namespace {

constexpr std::uint32_t kSequence = 77;
const std::uint32_t kTarget = inet_addr("192.168.1.57");

std::string Message(std::uint16_t type, std::string payload, std::uint32_t sequence = kSequence,
                    std::uint16_t flags = NLM_F_MULTI, int lengthChange = 0) {
  nlmsghdr header{};
  header.nlmsg_len = std::uint32_t(int(NLMSG_HDRLEN + payload.size()) + lengthChange);
  header.nlmsg_type = type;
  header.nlmsg_flags = flags;
  header.nlmsg_seq = sequence;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  payload.resize(NLMSG_ALIGN(payload.size()), '\0');
  return bytes + payload;
}

std::string Attribute(std::uint16_t type, const std::string& value, int lengthChange = 0) {
  const rtattr head{std::uint16_t(int(RTA_LENGTH(value.size())) + lengthChange), type};
  std::string bytes(reinterpret_cast<const char*>(&head), sizeof head);
  bytes += value;
  bytes.resize(RTA_ALIGN(bytes.size()), '\0');
  return bytes;
}

std::string Entry(std::uint32_t address, int lengthChange = 0) {
  ndmsg body{};
  body.ndm_family = AF_INET;
  body.ndm_state = NUD_REACHABLE;
  return std::string(reinterpret_cast<const char*>(&body), sizeof body) +
         Attribute(NDA_DST, std::string(reinterpret_cast<const char*>(&address), 4)) +
         Attribute(NDA_LLADDR, "\x02\x00\x00\x00\x00\x09", lengthChange);
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
      {"an earlier dump", Message(RTM_NEWNEIGH, Entry(kTarget), kSequence - 1), 0, DumpStep::More,
       false},
      {"interrupted by a change",
       Message(RTM_NEWNEIGH, Entry(kTarget), kSequence, NLM_F_MULTI | NLM_F_DUMP_INTR), 0,
       DumpStep::Unknown, false},
      {"an error", Message(NLMSG_ERROR, std::string(4, '\xff')), 0, DumpStep::Unknown, false},
      {"a length past the datagram",
       Message(RTM_NEWNEIGH, Entry(kTarget), kSequence, NLM_F_MULTI, 8), 0, DumpStep::Unknown,
       false},
      {"too short for its entry", Message(RTM_NEWNEIGH, std::string(4, '\0')) + done, 0,
       DumpStep::Done, false},
      {"an attribute past its message", Message(RTM_NEWNEIGH, Entry(kTarget, 64)) + done, 0,
       DumpStep::Done, true},
      {"half a header", entry.substr(0, 10), 0, DumpStep::More, false},
  };
  for (const auto& c : cases) {
    std::optional<NeighbourEntry> found;
    // A copy of its own size, so a read past it is one past an allocation.
    const std::string datagram = c.datagram;
    EXPECT_EQ(ReadNeighbourDatagram(datagram.data(), datagram.size(), c.sender, kSequence, kTarget,
                                    found),
              c.step)
        << c.what;
    EXPECT_EQ(found.has_value(), c.found) << c.what;
  }
}

}  // namespace
}  // namespace orvane

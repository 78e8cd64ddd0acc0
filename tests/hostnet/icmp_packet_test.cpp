#include "hostnet/icmp_packet.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr std::uint32_t kTarget = 0x0A4D0509;  // 10.77.5.9
constexpr std::uint32_t kOther = 0x0A4D0414;   // 10.77.4.20
constexpr std::uint32_t kRouter = 0x0A4D0401;  // 10.77.4.1
constexpr std::uint16_t kId = 0xBEEF;
constexpr std::uint16_t kSeq = 0x0102;
constexpr EchoKey kKey{kTarget, kId, kSeq};

void Put16(std::string& s, std::uint16_t v) {
  s += static_cast<char>(v >> 8);
  s += static_cast<char>(v & 0xFF);
}

void Put32(std::string& s, std::uint32_t v) {
  Put16(s, static_cast<std::uint16_t>(v >> 16));
  Put16(s, static_cast<std::uint16_t>(v & 0xFFFF));
}

std::string Icmp(std::uint8_t type, std::uint16_t id, std::uint16_t seq,
                 std::string_view data = kEchoData) {
  std::string s;
  s += static_cast<char>(type);
  s += '\0';
  Put16(s, 0);
  Put16(s, id);
  Put16(s, seq);
  s += data;
  return s;
}

// An IPv4 packet; optionWords adds that many 4-byte option words to the
// header, as a raw socket hands them over.
std::string Ip(std::uint32_t source, std::uint32_t destination, std::string_view payload,
               int optionWords = 0, std::uint8_t protocol = 1) {
  std::string s;
  s += static_cast<char>(0x40 | (5 + optionWords));
  s += '\0';
  Put16(s, static_cast<std::uint16_t>(20 + 4 * optionWords + payload.size()));
  Put32(s, 0);
  s += static_cast<char>(64);
  s += static_cast<char>(protocol);
  Put16(s, 0);
  Put32(s, source);
  Put32(s, destination);
  s.append(static_cast<std::size_t>(4 * optionWords), '\x01');  // NOP options
  s += payload;
  return s;
}

// An ICMP error from `reporter` quoting the first 8 bytes of `request`.
std::string Error(std::uint8_t type, std::uint32_t reporter, std::uint32_t requestDestination,
                  std::uint16_t id, std::uint16_t seq) {
  const std::string quoted =
      Ip(0x0A4D0509, requestDestination, Icmp(kIcmpEchoRequest, id, seq).substr(0, 8));
  std::string icmp;
  icmp += static_cast<char>(type);
  icmp += '\x01';
  Put16(icmp, 0);
  Put32(icmp, 0);
  icmp += quoted;
  return Ip(reporter, 0x0A4D0509, icmp);
}

TEST(InternetChecksum, MatchesKnownValues) {
  using namespace std::string_view_literals;
  // The worked example of RFC 1071: the folded sum is 0xDDF2, so the checksum
  // is its complement 0x220D.
  EXPECT_EQ(InternetChecksum("\x00\x01\xf2\x03\xf4\xf5\xf6\xf7"sv), 0x220D);
  // An odd length pads the last byte with a zero on its right.
  EXPECT_EQ(InternetChecksum("\x01"sv), 0xFEFF);
  EXPECT_EQ(InternetChecksum(""sv), 0xFFFF);
  // Carries fold back in: 0xFFFF + 0x0001 = 0x0001 after folding.
  EXPECT_EQ(InternetChecksum("\xff\xff\x00\x01"sv), 0xFFFE);
}

TEST(BuildEchoRequest, HeaderDataAndChecksum) {
  const std::string request = BuildEchoRequest(kId, kSeq);
  ASSERT_EQ(request.size(), 8u + 26u);
  EXPECT_EQ(request[0], '\x08');
  EXPECT_EQ(request[1], '\x00');
  EXPECT_EQ(request.substr(4, 4), "\xBE\xEF\x01\x02");
  EXPECT_EQ(request.substr(8), "abcdefghijklmnopqrstuvwxyz");
  // A packet with a correct checksum sums to zero.
  EXPECT_EQ(InternetChecksum(request), 0);
  EXPECT_NE(BuildEchoRequest(kId, kSeq + 1).substr(2, 2), request.substr(2, 2));
}

TEST(ClassifyRawPacket, OnlyOurReplyFromTheTargetMatches) {
  struct Case {
    const char* what;
    std::string packet;
    EchoMatch kind;
  };
  const Case cases[] = {
      {"our reply", Ip(kTarget, kTarget, Icmp(kIcmpEchoReply, kId, kSeq)), EchoMatch::EchoReply},
      {"our reply, IP options", Ip(kTarget, kTarget, Icmp(kIcmpEchoReply, kId, kSeq), 3),
       EchoMatch::EchoReply},
      {"our reply, other data", Ip(kTarget, kTarget, Icmp(kIcmpEchoReply, kId, kSeq, "x")),
       EchoMatch::EchoReply},
      {"own request looped back", Ip(kTarget, kTarget, Icmp(kIcmpEchoRequest, kId, kSeq)),
       EchoMatch::Unrelated},
      {"stale reply", Ip(kTarget, kTarget, Icmp(kIcmpEchoReply, kId, kSeq - 1)),
       EchoMatch::Unrelated},
      {"other program", Ip(kTarget, kTarget, Icmp(kIcmpEchoReply, kId + 1, kSeq)),
       EchoMatch::Unrelated},
      {"other host", Ip(kOther, kTarget, Icmp(kIcmpEchoReply, kId, kSeq)), EchoMatch::Unrelated},
      {"not ICMP", Ip(kTarget, kTarget, Icmp(kIcmpEchoReply, kId, kSeq), 0, 17),
       EchoMatch::Unrelated},
      {"ICMP header cut", Ip(kTarget, kTarget, Icmp(kIcmpEchoReply, kId, kSeq).substr(0, 7)),
       EchoMatch::Unrelated},
      {"IP header cut", Ip(kTarget, kTarget, Icmp(kIcmpEchoReply, kId, kSeq)).substr(0, 19),
       EchoMatch::Unrelated},
      {"empty", "", EchoMatch::Unrelated},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyRawPacket(c.packet, kKey), c.kind) << c.what;
  }
}

TEST(ClassifyRawPacket, HeaderLengthComesFromIhl) {
  std::string withOptions = Ip(kTarget, kTarget, Icmp(kIcmpEchoReply, kId, kSeq), 2);
  EXPECT_EQ(ClassifyRawPacket(withOptions, kKey), EchoMatch::EchoReply);
  // Read as a 20-byte header, the option bytes would be taken for ICMP.
  withOptions[0] = 0x45;
  EXPECT_EQ(ClassifyRawPacket(withOptions, kKey), EchoMatch::Unrelated);
  // An IHL below five words, or a version other than 4, is no IPv4 packet.
  std::string bad = Ip(kTarget, kTarget, Icmp(kIcmpEchoReply, kId, kSeq));
  bad[0] = 0x44;
  EXPECT_EQ(ClassifyRawPacket(bad, kKey), EchoMatch::Unrelated);
  bad[0] = 0x65;
  EXPECT_EQ(ClassifyRawPacket(bad, kKey), EchoMatch::Unrelated);
  // A header longer than the packet.
  bad[0] = 0x4F;
  EXPECT_EQ(ClassifyRawPacket(bad.substr(0, 40), kKey), EchoMatch::Unrelated);
}

TEST(ClassifyRawPacket, ErrorsQuotingOurRequest) {
  struct Case {
    const char* what;
    std::string packet;
    EchoMatch kind;
  };
  const Case cases[] = {
      {"unreachable", Error(kIcmpDestinationUnreachable, kRouter, kTarget, kId, kSeq),
       EchoMatch::Error},
      {"time exceeded", Error(kIcmpTimeExceeded, kRouter, kTarget, kId, kSeq), EchoMatch::Error},
      {"parameter problem", Error(kIcmpParameterProblem, kTarget, kTarget, kId, kSeq),
       EchoMatch::Error},
      {"about another target", Error(kIcmpDestinationUnreachable, kRouter, kOther, kId, kSeq),
       EchoMatch::Unrelated},
      {"about another sequence",
       Error(kIcmpDestinationUnreachable, kRouter, kTarget, kId, kSeq + 1), EchoMatch::Unrelated},
      {"about another program", Error(kIcmpDestinationUnreachable, kRouter, kTarget, kId - 1, kSeq),
       EchoMatch::Unrelated},
      {"redirect", Error(5, kRouter, kTarget, kId, kSeq), EchoMatch::Unrelated},
      {"quote cut short",
       Error(kIcmpDestinationUnreachable, kRouter, kTarget, kId, kSeq).substr(0, 20 + 8 + 20 + 6),
       EchoMatch::Unrelated},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyRawPacket(c.packet, kKey), c.kind) << c.what;
  }
}

TEST(ClassifyDatagramPacket, SequenceAndSourceDecide) {
  // The kernel chose the identifier; it is not compared.
  EXPECT_EQ(ClassifyDatagramPacket(Icmp(kIcmpEchoReply, 0x4321, kSeq), kTarget, kKey),
            EchoMatch::EchoReply);
  EXPECT_EQ(ClassifyDatagramPacket(Icmp(kIcmpEchoReply, kId, kSeq + 1), kTarget, kKey),
            EchoMatch::Unrelated);
  EXPECT_EQ(ClassifyDatagramPacket(Icmp(kIcmpEchoReply, kId, kSeq), kOther, kKey),
            EchoMatch::Unrelated);
  EXPECT_EQ(ClassifyDatagramPacket(Icmp(kIcmpEchoRequest, kId, kSeq), kTarget, kKey),
            EchoMatch::Unrelated);
  EXPECT_EQ(ClassifyDatagramPacket(Icmp(kIcmpEchoReply, kId, kSeq).substr(0, 7), kTarget, kKey),
            EchoMatch::Unrelated);
}

}  // namespace
}  // namespace orvane

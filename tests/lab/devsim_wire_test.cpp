// The simulator's side of the wire: the replies it composes and how it reads
// a configuration request. Pure functions; no socket is opened.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tools/devsim/devsim_wire.h"

namespace orvane::devsim {
namespace {

DeviceFacts WorkedExampleFacts() {
  DeviceFacts facts;
  facts.address = "192.168.1.20";
  facts.netmask = "255.255.255.0";
  facts.gateway = "192.168.1.1";
  return facts;
}

TEST(DevsimDiscoveryReply, MatchesTheWorkedExampleByteForByte) {
  const std::string reply = ComposeDiscoveryReply(WorkedExampleFacts());
  EXPECT_EQ(reply,
            "0C01R00:0A:1B:2C:3D:4E;IP='192.168.1.20';NETMASK='255.255.255.0';"
            "GATEWAY='192.168.1.1';HOSTNAME='FILER1';WORKGROUP='WORKGROUP';"
            "HOSTNAME_FULL='FILER1';HDMODEL='DISK-80G';HDCAPACITY='156301488';"
            "HDTOTAL='76900000';HDAVAIL='70000000'");
  EXPECT_EQ(reply.size(), 229u);
}

TEST(DevsimDiscoveryReply, WithoutDiskEndsAfterFullHostName) {
  DeviceFacts facts = WorkedExampleFacts();
  facts.hasDisk = false;
  facts.hostNameFull = "filer1.home";
  const std::string reply = ComposeDiscoveryReply(facts);
  EXPECT_EQ(reply.substr(reply.size() - 28), ";HOSTNAME_FULL='filer1.home'");
  EXPECT_EQ(reply.find("HD"), std::string::npos);
}

TEST(DevsimDiscoveryReply, CarriesNonAsciiAndOddFiguresUnchanged) {
  DeviceFacts facts = WorkedExampleFacts();
  facts.hostName = "\xa4\xa4\xa4\xe5";  // two Big5 characters
  facts.diskTotal = "n/a";
  facts.diskModel = "";
  const std::string reply = ComposeDiscoveryReply(facts);
  EXPECT_NE(reply.find(";HOSTNAME='\xa4\xa4\xa4\xe5';"), std::string::npos);
  EXPECT_NE(reply.find(";HDMODEL='';HDCAPACITY='156301488';HDTOTAL='n/a';"), std::string::npos);
}

TEST(DevsimConfigReply, IsKindIdentityAndStatus) {
  EXPECT_EQ(ComposeConfigReply("00:0A:1B:2C:3D:4E", '2'), "0C02R00:0A:1B:2C:3D:4E2");
  EXPECT_EQ(ComposeConfigReply("00:0A:1B:2C:3D:4E", '1'), "0C02R00:0A:1B:2C:3D:4E1");
}

constexpr std::string_view kId = "00:0A:1B:2C:3D:4E";

TEST(DevsimConfigRequest, ReadsTheWorkedExample) {
  ConfigRequest request;
  ASSERT_EQ(ParseConfigRequest("0C02S00:0A:1B:2C:3D:4E192.168.0.57;255.255.255.0;192.168.0.1;"
                               "FILER1;WORKGROUP;FILER1;vexil;vexil",
                               kId, request),
            ConfigParse::kOk);
  EXPECT_EQ(request.address, "192.168.0.57");
  EXPECT_EQ(request.netmask, "255.255.255.0");
  EXPECT_EQ(request.gateway, "192.168.0.1");
  EXPECT_EQ(request.hostName, "FILER1");
  EXPECT_EQ(request.workgroup, "WORKGROUP");
  EXPECT_EQ(request.hostNameFull, "FILER1");
  EXPECT_EQ(request.credentials, "vexil;vexil");
  EXPECT_EQ(request.userName, "vexil");
  EXPECT_EQ(request.password, "vexil");
}

TEST(DevsimConfigRequest, KeepsSemicolonsOfTheCredentialsInTheTail) {
  ConfigRequest request;
  ASSERT_EQ(
      ParseConfigRequest("0C02S00:0A:1B:2C:3D:4E1.2.3.4;255.0.0.0;;H;W;;ad;min;p;w;", kId, request),
      ConfigParse::kOk);
  EXPECT_EQ(request.gateway, "");
  EXPECT_EQ(request.hostNameFull, "");
  EXPECT_EQ(request.credentials, "ad;min;p;w;");
  EXPECT_EQ(request.userName, "ad");
  EXPECT_EQ(request.password, "min;p;w;");
}

TEST(DevsimConfigRequest, TellsOtherDevicesAndBrokenRequestsApart) {
  struct Case {
    std::string datagram;
    ConfigParse expected;
  };
  const Case cases[] = {
      {"0C02S00:0A:1B:2C:3D:4F1.2.3.4;m;g;h;w;f;u;p", ConfigParse::kNotForMe},  // other id
      {"0c02s00:0A:1B:2C:3D:4E1.2.3.4;m;g;h;w;f;u;p", ConfigParse::kNotForMe},  // case
      {"0C01S", ConfigParse::kNotForMe},
      {"0C02S00:0A:1B:2C:3D:4", ConfigParse::kNotForMe},  // identity cut short
      {"0C02S00:0A:1B:2C:3D:4E", ConfigParse::kMalformed},
      {"0C02S00:0A:1B:2C:3D:4E1.2.3.4;m;g;h;w;f;user-only", ConfigParse::kMalformed},
      {"0C02S00:0A:1B:2C:3D:4E1.2.3.4;m;g;h;w;f;;", ConfigParse::kOk},
  };
  for (const Case& c : cases) {
    ConfigRequest request;
    EXPECT_EQ(ParseConfigRequest(c.datagram, kId, request), c.expected) << c.datagram;
  }
}

TEST(DevsimUnescape, TurnsEscapesIntoBytes) {
  struct Case {
    std::string text;
    std::string bytes;
  };
  const Case cases[] = {
      {"plain 0C01R", "plain 0C01R"},
      {"\\x30\\x43", "0C"},
      {"\\xff\\xFE\\x00", std::string("\xff\xfe\x00", 3)},
      {"a\\\\b", "a\\b"},
      {"\\n\\r\\t\\0", std::string("\n\r\t\0", 4)},
      {"", ""},
  };
  for (const Case& c : cases) {
    const auto bytes = Unescape(c.text);
    ASSERT_TRUE(bytes.has_value()) << c.text;
    EXPECT_EQ(*bytes, c.bytes) << c.text;
  }
}

TEST(DevsimUnescape, RejectsBrokenEscapes) {
  for (const char* text : {"\\", "abc\\", "\\x", "\\x4", "\\xg0", "\\q", "\\x4\\"}) {
    EXPECT_FALSE(Unescape(text).has_value()) << text;
  }
}

TEST(DevsimMaskPrefix, AcceptsContiguousMasksOnly) {
  EXPECT_EQ(MaskPrefixLength("255.255.255.0"), 24);
  EXPECT_EQ(MaskPrefixLength("255.255.252.0"), 22);
  EXPECT_EQ(MaskPrefixLength("255.255.255.255"), 32);
  EXPECT_EQ(MaskPrefixLength("0.0.0.0"), 0);
  EXPECT_EQ(MaskPrefixLength("128.0.0.0"), 1);
  EXPECT_FALSE(MaskPrefixLength("255.0.255.0").has_value());
  EXPECT_FALSE(MaskPrefixLength("255.255.255.1").has_value());
  EXPECT_FALSE(MaskPrefixLength("255.255.255").has_value());
  EXPECT_FALSE(MaskPrefixLength("").has_value());
}

TEST(DevsimJunk, NeverLooksLikeAReplyAndCycles) {
  std::set<std::string> seen;
  for (int i = 0; i < 8; ++i) {
    const std::string junk = JunkDatagram(i);
    EXPECT_NE(junk.rfind("0C01R", 0), 0u) << i;
    EXPECT_NE(junk.rfind("0C02R", 0), 0u) << i;
    seen.insert(junk);
  }
  EXPECT_EQ(seen.size(), 8u);
  EXPECT_EQ(JunkDatagram(8), JunkDatagram(0));
  EXPECT_TRUE(JunkDatagram(0).empty());
}

}  // namespace
}  // namespace orvane::devsim

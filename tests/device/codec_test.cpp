// The wire codec against the device protocol: requests byte for byte, replies
// read by their position rules, quirks included.

#include "device/codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "tests/device/sample_replies.h"

namespace orvane {
namespace {

using test::kWorkedNames;
using test::kWorkedReply;
using test::MakeReply;

TEST(DeviceCodec, DiscoveryRequestIsFiveBytes) {
  EXPECT_EQ(BuildDiscoveryRequest(), std::string("\x30\x43\x30\x31\x53", 5));
}

TEST(DeviceCodec, ClassifiesByTheFirstFiveBytesOnly) {
  struct Case {
    std::string_view datagram;
    ReplyKind kind;
  };
  const Case cases[] = {
      {kWorkedReply, ReplyKind::Discovery},
      {"0C01R", ReplyKind::Discovery},
      {"0C02R00:0A:1B:2C:3D:4E2", ReplyKind::Configuration},
      {"0C02Rjunk", ReplyKind::Configuration},
      {"0c01r00:0A:1B:2C:3D:4E;IP='1'", ReplyKind::Other},
      {"0C01r", ReplyKind::Other},
      {"0c02R", ReplyKind::Other},
      {"0C01S", ReplyKind::Other},
      {"0C02S00:0A:1B:2C:3D:4E1.2.3.4", ReplyKind::Other},
      {" 0C01R", ReplyKind::Other},
      {"0C01", ReplyKind::Other},
      {"abc", ReplyKind::Other},
      {"", ReplyKind::Other},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyReply(c.datagram), c.kind) << c.datagram;
}

TEST(DeviceCodec, WorkedReplyGivesItsElevenValues) {
  ASSERT_EQ(kWorkedReply.size(), 229u);
  DeviceRecord record;
  ASSERT_TRUE(ParseDiscoveryReply(kWorkedReply, record));
  EXPECT_EQ(record.DeviceId, "00:0A:1B:2C:3D:4E");
  EXPECT_EQ(record.IpAddress, "192.168.1.20");
  EXPECT_EQ(record.Netmask, "255.255.255.0");
  EXPECT_EQ(record.Gateway, "192.168.1.1");
  EXPECT_EQ(record.HostName, "FILER1");
  EXPECT_EQ(record.Workgroup, "WORKGROUP");
  EXPECT_EQ(record.HostNameFull, "FILER1");
  EXPECT_EQ(record.DiskModel, "DISK-80G");
  EXPECT_EQ(record.DiskCapacity, 156301488);
  EXPECT_EQ(record.DiskTotal, 76900000);
  EXPECT_EQ(record.DiskAvailable, 70000000);
}

// Replies that are read; the expected record lists every field.
struct ReadCase {
  const char* name;
  std::string datagram;
  DeviceRecord expected;
};

DeviceRecord Record(std::string id, std::string ip, std::string mask, std::string gateway,
                    std::string host, std::string group, std::string full, std::string model,
                    std::int32_t capacity, std::int32_t total, std::int32_t available) {
  return DeviceRecord{id, ip, mask, gateway, host, group, full, model, capacity, total, available};
}

DeviceRecord Worked(std::string model, std::int32_t capacity, std::int32_t total,
                    std::int32_t available) {
  return Record("00:0A:1B:2C:3D:4E", "192.168.1.20", "255.255.255.0", "192.168.1.1", "FILER1",
                "WORKGROUP", "FILER1", model, capacity, total, available);
}

std::string WorkedWith(std::string_view diskFields) {
  return std::string(kWorkedNames) + std::string(diskFields);
}

TEST(DeviceCodec, ReadsRepliesByThePositionRules) {
  const std::string id = "AB:CD:EF:01:23:45";
  const ReadCase cases[] = {
      {"lower-case keys",
       "0C01R" + id +
           ";ip='10.0.0.9';netmask='255.0.0.0';gateway='10.0.0.1';hostname='nas';"
           "workgroup='home';hostname_full='nas.home';hdmodel='m';hdcapacity='5';hdtotal='6';"
           "hdavail='7'",
       Record(id, "10.0.0.9", "255.0.0.0", "10.0.0.1", "nas", "home", "nas.home", "m", 5, 6, 7)},
      {"two separator bytes keep the closing quote",
       "0C01R" + id +
           ";IP='192.168.1.20'; NETMASK='255.255.255.0';GATEWAY='g';HOSTNAME='h';WORKGROUP='w';"
           "HOSTNAME_FULL='f'",
       Record(id, "192.168.1.20'", "255.255.255.0", "g", "h", "w", "f", "No HD Installed!", 0, 0,
              0)},
      {"separator byte is not examined",
       "0C01R" + id +
           "xxIP='1'XNETMASK='2' GATEWAY='3'\x01HOSTNAME='4'\"WORKGROUP='5'.HOSTNAME_FULL='6'",
       Record(id, "1", "2", "3", "4", "5", "6", "No HD Installed!", 0, 0, 0)},
      {"empty measured value",
       "0C01R" + id + "IP='';NETMASK='';GATEWAY='';HOSTNAME='';WORKGROUP='';HOSTNAME_FULL=''",
       Record(id, "", "", "", "", "", "", "No HD Installed!", 0, 0, 0)},
      {"HOSTNAME_FULL ends at its quote", MakeReply(id, "h", "w", "NAS", ";;; HDMODEL='x'"),
       Record(id, "192.168.1.20", "255.255.255.0", "192.168.1.1", "h", "w", "NAS", "x", 0, 0, 0)},
      {"reply may end after HOSTNAME_FULL", std::string(kWorkedNames),
       Worked("No HD Installed!", 0, 0, 0)},
      {"empty HDMODEL clears the figures",
       WorkedWith(";HDMODEL='';HDCAPACITY='156301488';HDTOTAL='76900000';HDAVAIL='7'"),
       Worked("No HD Installed!", 0, 0, 0)},
      {"HDMODEL absent clears the figures", WorkedWith(";HDCAPACITY='156301488';HDTOTAL='9'"),
       Worked("No HD Installed!", 0, 0, 0)},
      {"HDMODEL without closing quote counts as absent", WorkedWith(";HDMODEL='DISK"),
       Worked("No HD Installed!", 0, 0, 0)},
      {"non-numeric HDTOTAL is 0",
       WorkedWith(";HDMODEL='D';HDCAPACITY='8';HDTOTAL='n/a';HDAVAIL='3'"), Worked("D", 8, 0, 3)},
      {"non-decimal HDCAPACITY is 0", WorkedWith(";HDMODEL='D';HDCAPACITY='0x10';HDTOTAL='4'"),
       Worked("D", 0, 4, 0)},
      {"empty HDCAPACITY is 0", WorkedWith(";HDMODEL='D';HDCAPACITY='';HDTOTAL='4';HDAVAIL='2'"),
       Worked("D", 0, 4, 2)},
      {"figures at the 32-bit limits",
       WorkedWith(";HDMODEL='D';HDCAPACITY='2147483647';HDTOTAL='-2147483648';HDAVAIL='-5'"),
       Worked("D", 2147483647, -2147483648, -5)},
      {"figures beyond 32 bits are 0",
       WorkedWith(
           ";HDMODEL='D';HDCAPACITY='2147483648';HDTOTAL='-2147483649';HDAVAIL='99999999999'"),
       Worked("D", 0, 0, 0)},
      {"figures with blanks or signs are 0",
       WorkedWith(";HDMODEL='D';HDCAPACITY=' 12';HDTOTAL='+12';HDAVAIL='1e3'"),
       Worked("D", 0, 0, 0)},
      {"missing HDCAPACITY does not move the search",
       WorkedWith(";HDMODEL='D';HDTOTAL='40';HDAVAIL='30'"), Worked("D", 0, 40, 30)},
      {"HDAVAIL before HDTOTAL is not found",
       WorkedWith(";HDMODEL='D';HDCAPACITY='1';HDAVAIL='30';HDTOTAL='40'"), Worked("D", 1, 40, 0)},
      {"keys are searched from the start, identity included",
       "0C01RIP='a';NETMASK='bc';GATEWAY='c';HOSTNAME='d';WORKGROUP='e';HOSTNAME_FULL='f'",
       Record("IP='a';NETMASK='b", "a", "bc", "c", "d", "e", "f", "No HD Installed!", 0, 0, 0)},
  };
  for (const ReadCase& c : cases) {
    DeviceRecord record;
    ASSERT_TRUE(ParseDiscoveryReply(c.datagram, record)) << c.name;
    EXPECT_EQ(record, c.expected) << c.name;
  }
}

TEST(DeviceCodec, DropsUnreadableRepliesAndLeavesTheRecord) {
  const std::string id = "AB:CD:EF:01:23:45";
  const std::string head = "0C01R" + id + ";";
  const std::string rest = "GATEWAY='g';HOSTNAME='h';WORKGROUP='w';HOSTNAME_FULL='f'";
  const std::string cases[] = {
      "",
      "0C01R",
      "0C01R" + id,
      "0c01r" + std::string(kWorkedReply.substr(5)),
      "0C02R" + std::string(kWorkedReply.substr(5)),
      head + "NETMASK='m';" + rest,         // IP missing
      head + "IP='i';" + rest,              // NETMASK missing
      head + "NETMASK='m';IP='i';" + rest,  // out of order
      head + "IP='i';NETMASK='m';GATEWAY='g';WORKGROUP='w';HOSTNAME='h';HOSTNAME_FULL='f'",
      head + "IP='i';NETMASK='m';GATEWAY='g';HOSTNAME='h';WORKGROUP='w'",  // no HOSTNAME_FULL
      head + "IP='i';NETMASK='m';" + rest.substr(0, rest.size() - 1),      // no closing quote
      head + "IP='NETMASK='m';" + rest,                                    // length -2
      head + "IP='xNETMASK='m';" + rest,                                   // length -1
      head + "IP='i';NETMASK='m';GATEWAY='g';HOSTNAME='WORKGROUP='w';HOSTNAME_FULL='f'",
  };
  const DeviceRecord sentinel = Record("keep", "1", "2", "3", "4", "5", "6", "7", 8, 9, 10);
  for (const std::string& datagram : cases) {
    DeviceRecord record = sentinel;
    EXPECT_FALSE(ParseDiscoveryReply(datagram, record)) << datagram;
    EXPECT_EQ(record, sentinel) << datagram;
  }
}

TEST(DeviceCodec, ComposesTheWorkedConfigurationRequest) {
  DeviceRecord device;
  ASSERT_TRUE(ParseDiscoveryReply(kWorkedReply, device));
  EXPECT_EQ(ComposeConfigRequest(device, "192.168.0.57", "255.255.255.0", "192.168.0.1", "admin",
                                 "s3cret"),
            "0C02S00:0A:1B:2C:3D:4E192.168.0.57;255.255.255.0;192.168.0.1;FILER1;WORKGROUP;"
            "FILER1;admin;s3cret");
}

TEST(DeviceCodec, ComposesValuesAsTheyStand) {
  DeviceRecord device = Worked("D", 0, 0, 0);
  struct Case {
    const char* name;
    std::string hostNameFull;
    std::string user;
    std::string password;
    std::string expectedTail;
  };
  const Case cases[] = {
      {"empty HostNameFull gives two separators", "", "admin", "pw", "WORKGROUP;;admin;pw"},
      {"empty credentials", "FILER1", "", "", "WORKGROUP;FILER1;;"},
      {"nothing escaped", "FILER1", "a;b", "p'w\"\\%", "WORKGROUP;FILER1;a;b;p'w\"\\%"},
      {"trailing blanks kept", "FILER1", "admin ", " pw ", "WORKGROUP;FILER1;admin ; pw "},
  };
  const std::string head = "0C02S00:0A:1B:2C:3D:4E10.1.1.9;255.0.0.0;10.0.0.1;FILER1;";
  for (const Case& c : cases) {
    device.HostNameFull = c.hostNameFull;
    EXPECT_EQ(ComposeConfigRequest(device, "10.1.1.9", "255.0.0.0", "10.0.0.1", c.user, c.password),
              head + c.expectedTail)
        << c.name;
  }
}

TEST(DeviceCodec, NonAsciiNamesGoBackByteForByte) {
  // Big5 (including a trail byte that is a backslash and one that is 'i'), a
  // Windows-1252 e acute, and bytes that are not valid UTF-8.
  const std::string identity = std::string("\xA5\x78\xC6\x57:\xE9\xFF\xC3-\xB3\x5C\xA4i:3DE");
  const std::string hostName = "\xA5\x78\xC6\x57\xB3\x5C";
  const std::string workgroup = "Caf\xE9\xFF";
  const std::string hostNameFull = "\xC3\xFF\x80\xA4i\xE9";
  ASSERT_EQ(identity.size(), 17u);

  DeviceRecord device;
  ASSERT_TRUE(ParseDiscoveryReply(MakeReply(identity, hostName, workgroup, hostNameFull), device));
  EXPECT_EQ(device.DeviceId, identity);
  EXPECT_EQ(device.HostName, hostName);
  EXPECT_EQ(device.Workgroup, workgroup);
  EXPECT_EQ(device.HostNameFull, hostNameFull);
  EXPECT_EQ(ComposeConfigRequest(device, "192.168.0.57", "255.255.255.0", "192.168.0.1", "\xE9user",
                                 "p\xFF"),
            "0C02S" + identity + "192.168.0.57;255.255.255.0;192.168.0.1;" + hostName + ";" +
                workgroup + ";" + hostNameFull + ";\xE9user;p\xFF");
}

TEST(DeviceCodec, ReadsTheStatusAtPosition23) {
  struct Case {
    std::string datagram;
    ConfigStatus status;
  };
  const std::string head = "0C02R00:0A:1B:2C:3D:4E";  // 22 bytes
  const Case cases[] = {
      {head + "2", ConfigStatus::Success},
      {head + "1", ConfigStatus::Failure},
      {head + "2 and more", ConfigStatus::Success},
      {"0C02R" + std::string(17, ' ') + "1", ConfigStatus::Failure},
      {head + "3", ConfigStatus::Neither},
      {head + "0", ConfigStatus::Neither},
      {head + "9", ConfigStatus::Neither},
      {head + "X", ConfigStatus::Neither},
      {head + std::string(1, '\0'), ConfigStatus::Neither},
      {head + "x2", ConfigStatus::Neither},
      {head, ConfigStatus::Neither},
      {"0C02R2", ConfigStatus::Neither},
      {"", ConfigStatus::Neither},
      {"0C01R00:0A:1B:2C:3D:4E2", ConfigStatus::Neither},
      {"0c02r00:0A:1B:2C:3D:4E2", ConfigStatus::Neither},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseConfigReply(c.datagram), c.status) << c.datagram;
}

}  // namespace
}  // namespace orvane

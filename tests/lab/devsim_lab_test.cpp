// The simulator on a real (namespaced) LAN, seen from the PC: discovery by
// limited broadcast reaches a device in the PC's subnet and one outside it,
// configuration checks credentials and really moves a device, and the
// misbehaviour switches put exactly the bytes on the wire that tests ask for.
//
// The devices are set up by the registration in tests/lab/CMakeLists.txt:
//   a 192.168.50.20  00:0A:1B:2C:3D:4E FILER1, replies to the sender's address
//   b 10.20.30.40    00:0A:1B:2C:3D:4F FILER2/HOME/filer2.home, no disk, --apply
//   c 192.168.50.30  00:0A:1B:2C:3D:50 silent to discovery, user "ad;min",
//                    password "p;w", configuration replies 400 ms late
//   d 192.168.50.40  00:0A:1B:2C:3D:51 raw discovery reply, 2 junk datagrams first
//   e 192.168.50.50  00:0A:1B:2C:3D:52 silent to everything

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/lab/lab_net.h"
#include "tools/devsim/devsim_wire.h"

namespace orvane::lab {
namespace {

const std::string kReplyA =
    "0C01R00:0A:1B:2C:3D:4E;IP='192.168.50.20';NETMASK='255.255.255.0';"
    "GATEWAY='192.168.50.1';HOSTNAME='FILER1';WORKGROUP='WORKGROUP';HOSTNAME_FULL='FILER1';"
    "HDMODEL='DISK-80G';HDCAPACITY='156301488';HDTOTAL='76900000';HDAVAIL='70000000'";
const std::string kReplyB =
    "0C01R00:0A:1B:2C:3D:4F;IP='10.20.30.40';NETMASK='255.255.255.0';"
    "GATEWAY='10.20.30.1';HOSTNAME='FILER2';WORKGROUP='HOME';HOSTNAME_FULL='filer2.home'";
const std::string kRawD(
    "0C01RRAW-DEVICE-0001;IP='\xe4\xb8\x80'\x00"
    "end\xff",
    34);

std::vector<Datagram> From(const std::vector<Datagram>& all, const std::string& address) {
  std::vector<Datagram> some;
  std::copy_if(all.begin(), all.end(), std::back_inserter(some),
               [&](const Datagram& d) { return d.fromAddress == address; });
  return some;
}

std::vector<std::string> Bytes(const std::vector<Datagram>& all) {
  std::vector<std::string> bytes;
  for (const Datagram& d : all) bytes.push_back(d.bytes);
  return bytes;
}

auto Has(const std::string& bytes) {
  return [bytes](const std::vector<Datagram>& got) {
    return std::any_of(got.begin(), got.end(), [&](const Datagram& d) { return d.bytes == bytes; });
  };
}

std::string ConfigRequest(const std::string& identity, const std::string& fields) {
  return "0C02S" + identity + fields;
}

class DevsimLab : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(receiver_.ok()) << "UDP port 12310 is taken"; }

  std::vector<Datagram> Discover() {
    EXPECT_EQ(SendRequest("0C01S"), "");
    return receiver_.Collect(milliseconds(1000));
  }

  ReplyReceiver receiver_;
};

TEST_F(DevsimLab, DevicesInAndOutsideThePcSubnetAnswerTheBroadcast) {
  const LogTail logA(Lab("DEV_A_LOG"));
  const LogTail logB(Lab("DEV_B_LOG"));
  const std::vector<Datagram> got = Discover();

  // a answers the PC's address, b (which has no route to the PC) broadcasts.
  EXPECT_EQ(Bytes(From(got, "192.168.50.20")), std::vector<std::string>{kReplyA});
  EXPECT_EQ(Bytes(From(got, "10.20.30.40")), std::vector<std::string>{kReplyB});
  for (const Datagram& d : got) EXPECT_EQ(d.fromPort, devsim::kRequestPort) << d.fromAddress;

  // Each simulator saw the request once, from the PC, as exactly five bytes.
  const std::string expected = ExpectedReceivedTail("0C01S");
  EXPECT_EQ(expected, " len=5 hex=3043303153 text=\"0C01S\"");
  for (const LogTail* log : {&logA, &logB}) {
    const std::vector<std::string> received = log->NewReceived();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_NE(received[0].find(" RECV from=" + Lab("PC_ADDR") + ":"), std::string::npos)
        << received[0];
    EXPECT_TRUE(received[0].ends_with(expected)) << received[0];
  }
}

TEST_F(DevsimLab, SilentDevicesSendNothingThoughTheyHearTheRequest) {
  const LogTail logC(Lab("DEV_C_LOG"));
  const LogTail logE(Lab("DEV_E_LOG"));
  const std::vector<Datagram> got = Discover();
  EXPECT_TRUE(From(got, "192.168.50.30").empty());
  EXPECT_TRUE(From(got, "192.168.50.50").empty());
  EXPECT_EQ(logC.NewReceived().size(), 1u);
  EXPECT_EQ(logE.NewReceived().size(), 1u);
}

TEST_F(DevsimLab, RawDeviceSendsItsJunkThenExactlyTheRawBytes) {
  const std::vector<Datagram> fromD = From(Discover(), "192.168.50.40");
  const std::vector<std::string> expected = {devsim::JunkDatagram(0), devsim::JunkDatagram(1),
                                             kRawD};
  EXPECT_EQ(Bytes(fromD), expected);
}

TEST_F(DevsimLab, WrongCredentialsGetStatusOneAndLeaveTheAddress) {
  const std::string request =
      ConfigRequest("00:0A:1B:2C:3D:4E",
                    "192.168.50.21;255.255.255.0;192.168.50.1;FILER1;WORKGROUP;FILER1;vexil;vexi");
  ASSERT_EQ(SendRequest(request), "");
  const auto got = receiver_.CollectUntil(Has("0C02R00:0A:1B:2C:3D:4E1"), milliseconds(2000));
  EXPECT_EQ(Bytes(got), std::vector<std::string>{"0C02R00:0A:1B:2C:3D:4E1"});
  EXPECT_EQ(Bytes(receiver_.Collect(milliseconds(200))), std::vector<std::string>{});
  EXPECT_EQ(NamespaceAddresses(Lab("DEV_A_NS"), "eth0"),
            std::vector<std::string>{"192.168.50.20/24"});
}

TEST_F(DevsimLab, RequestForAnotherIdentityIsLoggedButNotAnswered) {
  const LogTail logA(Lab("DEV_A_LOG"));
  const std::string request = ConfigRequest(
      "11:22:33:44:55:66", "192.168.50.21;255.255.255.0;192.168.50.1;X;Y;Z;vexil;vexil");
  ASSERT_EQ(SendRequest(request), "");
  EXPECT_EQ(Bytes(receiver_.Collect(milliseconds(700))), std::vector<std::string>{});
  const std::vector<std::string> received = logA.NewReceived();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_TRUE(received[0].ends_with(ExpectedReceivedTail(request))) << received[0];
}

TEST_F(DevsimLab, ForeignDeviceMovesIntoThePcSubnetAndBack) {
  const std::string ns = Lab("DEV_B_NS");
  EXPECT_FALSE(AnswersPing("10.20.30.40", milliseconds(800)))
      << "the PC must not reach the foreign subnet";

  ASSERT_EQ(SendRequest(ConfigRequest("00:0A:1B:2C:3D:4F",
                                      "192.168.50.77;255.255.255.0;192.168.50.1;FILER2;HOME;"
                                      "filer2.home;vexil;vexil")),
            "");
  auto got = receiver_.CollectUntil(Has("0C02R00:0A:1B:2C:3D:4F2"), milliseconds(3000));
  ASSERT_EQ(Bytes(got), std::vector<std::string>{"0C02R00:0A:1B:2C:3D:4F2"});
  // The reply already leaves from the new address.
  EXPECT_EQ(got[0].fromAddress, "192.168.50.77");
  EXPECT_EQ(NamespaceAddresses(ns, "eth0"), std::vector<std::string>{"192.168.50.77/24"});
  EXPECT_TRUE(AnswersPing("192.168.50.77", milliseconds(2000)));

  // Asked directly (unicast, so ARP has to find it), it reports its new settings.
  ASSERT_EQ(SendRequest("0C01S", "192.168.50.77"), "");
  got = receiver_.CollectUntil([](const auto& g) { return !g.empty(); }, milliseconds(2000));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].bytes,
            "0C01R00:0A:1B:2C:3D:4F;IP='192.168.50.77';NETMASK='255.255.255.0';"
            "GATEWAY='192.168.50.1';HOSTNAME='FILER2';WORKGROUP='HOME';"
            "HOSTNAME_FULL='filer2.home'");

  // Back to the foreign subnet, so the lab is as it was for the other tests.
  ASSERT_EQ(SendRequest(ConfigRequest("00:0A:1B:2C:3D:4F",
                                      "10.20.30.40;255.255.255.0;10.20.30.1;FILER2;HOME;"
                                      "filer2.home;vexil;vexil")),
            "");
  got = receiver_.CollectUntil(Has("0C02R00:0A:1B:2C:3D:4F2"), milliseconds(3000));
  EXPECT_EQ(Bytes(got), std::vector<std::string>{"0C02R00:0A:1B:2C:3D:4F2"});
  EXPECT_EQ(NamespaceAddresses(ns, "eth0"), std::vector<std::string>{"10.20.30.40/24"});
  EXPECT_FALSE(AnswersPing("192.168.50.77", milliseconds(500)));
}

TEST_F(DevsimLab, CredentialsMayContainSemicolonsAndRepliesCanBeLate) {
  const std::string fields = "192.168.50.31;255.255.255.0;192.168.50.1;FILER1;WORKGROUP;FILER1;";
  ASSERT_EQ(SendRequest(ConfigRequest("00:0A:1B:2C:3D:50", fields + "ad;min;p;wx")), "");
  auto got = receiver_.CollectUntil(Has("0C02R00:0A:1B:2C:3D:501"), milliseconds(2000));
  ASSERT_EQ(Bytes(got), std::vector<std::string>{"0C02R00:0A:1B:2C:3D:501"});

  const auto sent = std::chrono::steady_clock::now();
  ASSERT_EQ(SendRequest(ConfigRequest("00:0A:1B:2C:3D:50", fields + "ad;min;p;w")), "");
  got = receiver_.CollectUntil(Has("0C02R00:0A:1B:2C:3D:502"), milliseconds(2000));
  ASSERT_EQ(Bytes(got), std::vector<std::string>{"0C02R00:0A:1B:2C:3D:502"});
  EXPECT_GE(std::chrono::steady_clock::now() - sent, milliseconds(400));
}

TEST_F(DevsimLab, SilentDeviceIgnoresEvenACorrectConfiguration) {
  const LogTail logE(Lab("DEV_E_LOG"));
  const std::string request =
      ConfigRequest("00:0A:1B:2C:3D:52",
                    "192.168.50.51;255.255.255.0;192.168.50.1;FILER1;WORKGROUP;FILER1;vexil;vexil");
  ASSERT_EQ(SendRequest(request), "");
  EXPECT_EQ(Bytes(receiver_.Collect(milliseconds(700))), std::vector<std::string>{});
  EXPECT_EQ(logE.NewReceived().size(), 1u);
  EXPECT_EQ(NamespaceAddresses(Lab("DEV_E_NS"), "eth0"),
            std::vector<std::string>{"192.168.50.50/24"});
}

}  // namespace
}  // namespace orvane::lab

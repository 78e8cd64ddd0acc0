// Adapter settings and the request broadcast against a real network stack,
// inside the namespaces of in_netns.sh.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostnet/adapter_settings.h"
#include "hostnet/broadcast_sender.h"
#include "tests/hostnet/lab_network.h"

namespace orvane {
namespace {

using namespace lab;

// The port devices listen on for requests.
constexpr std::uint16_t kRequestPort = 12311;

std::string Text(const std::array<char, 16>& field) {
  return TrimAtNul(std::string_view(field.data(), field.size()));
}

TEST(AdapterLab, FirstAdapterFirstAddressAndItsGateway) {
  const auto source = MakePlatformAdapterSource();
  std::vector<AdapterRecord> adapters;
  ASSERT_TRUE(source->Query(adapters));
  // lo and the address-less n0 are no adapters; x0 (index 10) comes before
  // b0 (index 20) although b0 sorts first by name and has the better route.
  ASSERT_EQ(adapters.size(), 2u);
  EXPECT_EQ(Text(adapters[0].IpAddress), "10.77.5.9");
  EXPECT_EQ(Text(adapters[0].IpMask), "255.255.252.0");
  EXPECT_EQ(Text(adapters[0].Gateway), "10.77.4.1");
  EXPECT_EQ(Text(adapters[1].IpAddress), "10.88.0.5");
  EXPECT_EQ(Text(adapters[1].IpMask), "255.255.255.0");
  EXPECT_EQ(Text(adapters[1].Gateway), "10.88.0.1");

  const LocalSettings local = ReadLocalSettings(*source);
  EXPECT_EQ(local.LocalAddress, "10.77.5.9");
  EXPECT_EQ(local.LocalNetmask, "255.255.252.0");
  EXPECT_EQ(local.LocalGateway, "10.77.4.1");
}

TEST(AdapterNoGatewayLab, MissingGatewayReadsAsZeros) {
  const auto source = MakePlatformAdapterSource();
  const LocalSettings local = ReadLocalSettings(*source);
  EXPECT_EQ(local.LocalAddress, "10.77.5.9");
  EXPECT_EQ(local.LocalNetmask, "255.255.252.0");
  EXPECT_EQ(local.LocalGateway, "0.0.0.0");
}

// A UDP socket in the router's namespace on the request port: it sees what
// actually went over the wire from x0.
class BroadcastLab : public ::testing::Test {
 protected:
  void SetUp() override {
    fd_ = OpenSocketInRouter(SOCK_DGRAM, IPPROTO_UDP);
    ASSERT_GE(fd_, 0) << "no socket in the router's namespace";
    const int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(kRequestPort);
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&any), sizeof any), 0);
  }
  void TearDown() override {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }

  // The next datagram and its sender, or "<nothing>" after a second.
  std::string Receive(std::string& sender) {
    pollfd waiter{fd_, POLLIN, 0};
    if (::poll(&waiter, 1, 1000) != 1) {
      return "<nothing>";
    }
    std::string buffer(2048, '\0');
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t n = ::recvfrom(fd_, buffer.data(), buffer.size(), MSG_TRUNC,
                                 reinterpret_cast<sockaddr*>(&from), &size);
    buffer.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
    sender = text;
    return buffer;
  }

  int fd_ = -1;
};

TEST_F(BroadcastLab, SentAndArrivesWholeAtTheRouter) {
  std::string configuration = "0C02S";
  configuration += "\xE5\x8F\xB0\xE5\x8C\x97-NAS";
  configuration.append(1400 - configuration.size(), '\xA7');
  for (const std::string& message : {std::string("0C01S"), configuration}) {
    const SendOutcome outcome = SendBroadcast(message, kRequestPort);
    EXPECT_EQ(outcome.stage, SendOutcome::Stage::Sent);
    EXPECT_EQ(outcome.wsaCode, 0);
    EXPECT_EQ(BroadcastFailureMessage(outcome), "");
    std::string sender;
    EXPECT_EQ(Receive(sender), message);
    EXPECT_EQ(sender, kOwnAddress);
  }
}

TEST(BroadcastNoRouteLab, WithoutDefaultRouteTheSendFails) {
  const SendOutcome outcome = SendBroadcast("0C01S", kRequestPort);
  EXPECT_EQ(outcome.stage, SendOutcome::Stage::SendFailed);
  EXPECT_EQ(outcome.wsaCode, 10051);
  EXPECT_EQ(BroadcastFailureMessage(outcome),
            "Cannot Send Request.\r\n 10051Network is unreachable.");
}

}  // namespace
}  // namespace orvane

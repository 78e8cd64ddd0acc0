// The reply receiver on loopback only: whole datagrams as bytes, nothing while
// closed (not even what was queued before the close), a taken port reported,
// and a handler that closes the receiver from inside a delivery.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "hostnet/broadcast_sender.h"
#include "hostnet/udp_listener.h"
#include "tests/support/test_toolkit.h"
#include "wizard/udp_reply_receiver.h"

namespace orvane {
namespace {

using testing::WaitFor;

// A port no socket holds: the first of a run of high ports, starting at one
// of the process's own, that the listener can take.
std::uint16_t FreePort() {
  const auto start = static_cast<std::uint16_t>(40000 + QCoreApplication::applicationPid() % 20000);
  for (std::uint16_t port = start; port < start + 500; ++port) {
    UdpListener probe;
    if (probe.Open(port, nullptr)) return port;
  }
  return 0;
}

void SendToLoopback(std::uint16_t port, const QByteArray& bytes) {
  SendDatagramTo(std::string_view(bytes.constData(), std::size_t(bytes.size())), "127.0.0.1", port,
                 false);
}

void Settle() {
  WaitFor([] { return false; }, 100);
}

// A receiver on a free loopback port that keeps what it is given.
class ReplyReceiverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    receiver.onDatagram = [this](std::string_view d, const Arrival&) { got.emplace_back(d); };
  }
  bool Open() { return receiver.Open(error); }

  const std::uint16_t port = FreePort();
  UdpReplyReceiver receiver{port};
  std::vector<std::string> got;
  std::string error;
};

TEST_F(ReplyReceiverTest, DeliversWholeDatagramsAsBytes) {
  ASSERT_TRUE(Open()) << error;
  const QByteArray nonAscii("0C01R\xe4\xb8\x80\xff\x00tail", 13);
  SendToLoopback(port, nonAscii);
  SendToLoopback(port, QByteArray(1400, 'x'));
  ASSERT_TRUE(WaitFor([&] { return got.size() == 2; }));
  EXPECT_EQ(got[0], std::string(nonAscii.constData(), 13));
  EXPECT_EQ(got[1], std::string(1400, 'x'));
}

TEST_F(ReplyReceiverTest, NothingIsDeliveredWhileClosedNotEvenWhatWasQueued) {
  ASSERT_TRUE(Open());
  SendToLoopback(port, "queued before the close");
  receiver.Close();  // no event has run: the datagram is still queued
  Settle();
  SendToLoopback(port, "sent after the close");
  Settle();
  EXPECT_TRUE(got.empty());
  // Opened again, it delivers only what comes from then on.
  ASSERT_TRUE(Open());
  SendToLoopback(port, "after reopening");
  ASSERT_TRUE(WaitFor([&] { return !got.empty(); }));
  EXPECT_EQ(got, std::vector<std::string>{"after reopening"});
}

TEST_F(ReplyReceiverTest, AHandlerMayCloseTheReceiverWhileItDelivers) {
  int delivered = 0;
  receiver.onDatagram = [&](std::string_view, const Arrival&) {
    ++delivered;
    receiver.Close();  // as a configuration reply does
  };
  ASSERT_TRUE(Open());
  for (int i = 0; i < 5; ++i) SendToLoopback(port, "0C02R");
  ASSERT_TRUE(WaitFor([&] { return delivered > 0; }));
  Settle();
  EXPECT_EQ(delivered, 1);
  EXPECT_FALSE(receiver.IsOpen());
}

TEST(ReplyReceiverPortTest, APortHeldByAnotherProgramIsReported) {
  const std::uint16_t port = FreePort();
  UdpListener other;
  ASSERT_TRUE(other.Open(port, nullptr));
  UdpReplyReceiver receiver(port);
  std::string error;
  EXPECT_FALSE(receiver.Open(error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(receiver.IsOpen());
}

}  // namespace
}  // namespace orvane

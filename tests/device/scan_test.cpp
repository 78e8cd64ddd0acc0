// The scan alone on the fake world: what goes out and when, what is listed,
// and what the report says it checked.

#include "device/scan.h"
#include "tests/device/setup_run_harness.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

using Strings = std::vector<std::string>;

class ScanTest : public ::testing::Test {
 protected:
  // Starts the scan and delivers the replies with the window still open.
  void Start(const Strings& replies, milliseconds window = kScanWindow) {
    scan = std::make_unique<Scan>(world.services, front, Language::English, window);
    scan->Start([this] { ++ended; });
    for (const std::string& reply : replies) world.Arrive(reply);
  }

  FakeWorld world;
  FakeFrontEnd front;
  std::unique_ptr<Scan> scan;
  int ended = 0;
};

TEST_F(ScanTest, TheRequestGoesOutAtOnceThenEveryQuarterSecondEightTimesInAll) {
  Start({});
  EXPECT_EQ(world.sender.sent, Strings{"0C01S"});
  EXPECT_TRUE(scan->ReceiverOpen());
  EXPECT_EQ(world.clock.Armed(), (std::vector<milliseconds>{250ms, 3000ms}));
  // The last one 1.25 s before the window ends.
  world.clock.Advance(1749ms);
  EXPECT_EQ(world.sender.sent.size(), 7u);
  world.clock.Advance(1ms);
  EXPECT_EQ(world.sender.sent, Strings(kDiscoveryRequests, "0C01S"));
  EXPECT_EQ(world.clock.Armed(), std::vector<milliseconds>{1250ms});
}

TEST_F(ScanTest, DiscoveryRepliesFillTheTableOncePerDeviceInArrivalOrderUntilTheWindowEnds) {
  // A's answer to a repeated request is A again, listed once; an unreadable
  // discovery reply and a configuration reply count with the other datagrams.
  Start({kReplyA, "junk", "0C01S", kReplyB, kReplyA, "0c01r" + kReplyA, "0C01R" + kIdA,
         "0C02R" + kIdA + "2"});
  EXPECT_EQ(scan->LastDevice(), 1);
  EXPECT_EQ(scan->Devices()[0].HostName, "FILER1");
  EXPECT_EQ(scan->Devices()[1].HostName, "ARCHIVE");
  for (std::size_t i = 2; i < kDeviceCount; ++i) EXPECT_EQ(scan->Devices()[i], DeviceRecord{});
  EXPECT_EQ(scan->Report().deviceReplies, 2);
  EXPECT_EQ(scan->Report().otherDatagrams, 5);
  world.clock.Advance(2999ms);
  EXPECT_EQ(ended, 0) << "the window lasts 3 s";
  world.clock.Advance(1ms);
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(scan->ReceiverOpen());
  world.Arrive(kReplyB);
  EXPECT_EQ(scan->Report().deviceReplies, 2) << "nothing is received after the window";
}

TEST_F(ScanTest, ALongerWindowTakesLaterReplies) {
  Start({}, 5000ms);
  world.clock.Advance(4000ms);
  world.Arrive(kReplyA);
  world.clock.Advance(999ms);
  EXPECT_EQ(ended, 0);
  world.clock.Advance(1ms);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(scan->LastDevice(), 0);
}

// A PC whose first adapter is a VPN and whose second is on the devices' LAN.
std::vector<Adapter> VpnThenLan() {
  return {{"vpn0", 5, {"10.8.0.2", "255.255.255.0", "10.8.0.1"}, true},
          {"eth1", 7, {"192.168.1.10", "255.255.255.0", "192.168.1.1"}, true},
          {"wlan0", 9, {"0.0.0.0", "0.0.0.0", "0.0.0.0"}, true}};
}

TEST_F(ScanTest, SeveralAdaptersEachSendTheRequestAndADeviceHeardTwiceIsListedOnce) {
  world.settings.adapters = VpnThenLan();
  Start({});
  // The same five bytes on each connected adapter; wlan0 has no address.
  EXPECT_EQ(world.sender.sent, (Strings{"0C01S", "0C01S"}));
  EXPECT_EQ(world.sender.via, (Strings{"vpn0", "eth1"}));
  world.Arrive(kReplyA, {7, "192.168.1.10"});
  world.Arrive(kReplyA, {5, "10.8.0.2"});
  world.Arrive(kReplyB, {5, "10.8.0.2"});
  EXPECT_EQ(scan->LastDevice(), 1);
  EXPECT_EQ(scan->ArrivalOf(0).interfaceIndex, 7u);
  EXPECT_EQ(scan->ArrivalAdapter(0)->name, "eth1");
  EXPECT_EQ(scan->Report().deviceReplies, 2) << "replies stored";
}

TEST_F(ScanTest, SendFailureIsShownBeforeTheWindowStarts) {
  world.sender.failures = {{SendOutcome::Stage::SendFailed, 10051}};
  std::vector<milliseconds> armedWhileShown{1ms};
  front.onMessage = [&](const Message&) { armedWhileShown = world.clock.Armed(); };
  Start({});
  ASSERT_EQ(front.shown.size(), 1u);
  EXPECT_EQ(front.shown[0].text, "Cannot Send Request.\r\n 10051Network is unreachable.");
  EXPECT_EQ(front.shown[0].title, "TAVO");
  EXPECT_EQ(front.shown[0].icon, Icon::None);
  EXPECT_TRUE(armedWhileShown.empty());
  EXPECT_EQ(world.clock.Armed(), (std::vector<milliseconds>{250ms, 3000ms}));
}

TEST_F(ScanTest, TakenReplyPortIsNamedAndTheScanFindsNothing) {
  world.receivers.TakePort(true);
  Start({kReplyA});
  ASSERT_EQ(front.shown.size(), 1u);
  EXPECT_EQ(front.shown[0].text,
            "Cannot receive replies on UDP port 12310: The bound address is already in use.\r\n"
            "Another program may be using this port.");
  EXPECT_EQ(scan->LastDevice(), -1);
  EXPECT_FALSE(scan->Report().portBound);
}

TEST_F(ScanTest, AnEmptyScanReportsWhatWasChecked) {
  world.settings.adapters = VpnThenLan();
  // Every request fails on vpn0 and leaves on eth1.
  for (int i = 0; i < kDiscoveryRequests; ++i)
    world.sender.failures.insert(world.sender.failures.end(),
                                 {{SendOutcome::Stage::SendFailed, 10051}, {}});
  const FirewallState blocked{FirewallState::Verdict::Blocked, kFirewallPublic, kFirewallPublic,
                              true, false};
  world.receivers.firewall = blocked;
  world.receivers.selfTest = false;
  Start({"junk", "0C01R" + kIdA});  // the last one unreadable
  world.clock.Advance(kScanWindow);
  const ScanReport& report = scan->Report();
  EXPECT_TRUE(report.portBound);
  EXPECT_EQ(report.otherDatagrams, 2);
  EXPECT_EQ(report.deviceReplies, 0);
  ASSERT_EQ(report.adapters.size(), 2u);
  EXPECT_EQ(report.adapters[0].outcome.wsaCode, 10051);
  EXPECT_EQ(report.adapters[1].outcome.stage, SendOutcome::Stage::Sent);
  // Asked only once the window has closed the receiver.
  EXPECT_EQ(report.selfTest, std::optional<bool>(false));
  EXPECT_EQ(report.firewall, blocked);
  EXPECT_TRUE(front.shown.empty()) << "saying so is the caller's";
}

}  // namespace
}  // namespace orvane::testing

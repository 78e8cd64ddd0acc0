// Whole setup runs on the fake world: every outcome of a run, what was sent,
// what was shown and where it ends, on a clock that moves only when told.

#include "tests/device/setup_run_harness.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

using Strings = std::vector<std::string>;

TEST_F(SetupRunTest, StartSetsEverythingAndTheScanStartsOnlyAfterIt) {
  Open();
  // Nothing was sent from inside the load: the scan starts 100 ms later.
  EXPECT_TRUE(world.sender.sent.empty());
  EXPECT_FALSE(run->ReceiverOpen());
  EXPECT_EQ(world.clock.Armed(), std::vector<milliseconds>{100ms});
  EXPECT_EQ(run->LastDevice(), -1);
  EXPECT_EQ(run->Settings().LocalAddress, "192.168.1.10");
  EXPECT_EQ(run->Settings().LocalNetmask, "255.255.255.0");
  EXPECT_EQ(run->Settings().LocalGateway, "192.168.1.1");
  EXPECT_EQ(front.status, T(TextId::Scanning));
  EXPECT_EQ(front.MarkOf(Row::Scan), Mark::Running);
  for (Row row : {Row::Access, Row::Configuration, Row::Shortcuts})
    EXPECT_EQ(front.MarkOf(row), Mark::None);
  EXPECT_EQ(front.yields, 1) << "the page is painted before the scan starts";
  world.clock.Advance(99ms);
  EXPECT_TRUE(world.sender.sent.empty());
  // Then the receiver opens and exactly "0C01S" goes out.
  world.clock.Advance(1ms);
  EXPECT_EQ(world.sender.sent, Strings{"0C01S"});
  EXPECT_TRUE(run->ReceiverOpen());
  EXPECT_EQ(run->Phase(), RunPhase::Scanning);
}

TEST_F(SetupRunTest, NoDeviceSaysSoWithWhatWasCheckedAndReturnsToTheScanStart) {
  StartScan({});
  world.clock.Advance(2999ms);
  EXPECT_TRUE(front.shown.empty()) << "the window lasts 3 s";
  world.clock.Advance(1ms);
  EXPECT_FALSE(run->ReceiverOpen());
  EXPECT_EQ(front.status, T(TextId::NoDeviceFound));
  EXPECT_EQ(front.MarkOf(Row::Scan), Mark::Failed);
  ASSERT_EQ(front.shown.size(), 1u);
  EXPECT_EQ(front.shown[0].text, T(TextId::NoDeviceFoundMessage));
  EXPECT_EQ(front.shown[0].title, "TAVO");
  EXPECT_EQ(front.shown[0].buttons, Buttons::Ok);
  EXPECT_EQ(front.shown[0].detailsButton, T(TextId::ChecksButton));
  EXPECT_EQ(front.shown[0].details, DescribeScanReport(run->Report(), Language::English));
  EXPECT_EQ(front.returnedToScanStart, 1);
  EXPECT_EQ(run->Outcome(), RunOutcome::NoDevice);
  EXPECT_EQ(front.ended, 0);
  EXPECT_TRUE(front.listed.empty());
}

TEST_F(SetupRunTest, ReachableDeviceGetsShortcutsToItsAddressAndNoRequest) {
  for (Answer last : {Answer::Ok, Answer::Cancel}) {
    world.desktop = FakeDesktop{};
    front = FakeFrontEnd{};
    world.prober.answers["192.168.1.20"] = ProbeResult::Answered;
    front.answers = {last};
    StartScan({kReplyA});
    EndScanWindow();
    EXPECT_EQ(world.sender.sent.back(), "0C01S") << "no configuration request";
    ASSERT_EQ(world.desktop.created.size(), 1u);
    EXPECT_EQ(world.desktop.created[0],
              (std::pair<std::string, std::string>{"192.168.1.20", "FILER1"}));
    EXPECT_EQ(front.status, T(TextId::ReachableSetupComplete));
    for (Row row : {Row::Scan, Row::Access, Row::Configuration, Row::Shortcuts})
      EXPECT_EQ(front.MarkOf(row), Mark::Done);
    EXPECT_EQ(front.MessageTexts(),
              (Strings{T(TextId::ReachableShortcutsNotice), T(TextId::OpenShortcutsQuestion)}));
    EXPECT_EQ(front.shown[0].title, "Warning");
    EXPECT_EQ(front.shown[1].buttons, Buttons::OkCancel);
    EXPECT_EQ(front.shown[1].title, "Warning");
    EXPECT_EQ(world.desktop.opened, last == Answer::Ok ? Strings{"192.168.1.20"} : Strings{});
    EXPECT_EQ(front.ended, 1);
    EXPECT_EQ(run->Outcome(), RunOutcome::AlreadyReachable);
    world.sender.sent.clear();
  }
}

TEST_F(SetupRunTest, UnreachableDeviceIsConfiguredAndSuccessEndsWithShortcutsToNewAddress) {
  world.prober.answers["192.168.1.20"] = ProbeResult::NoAnswer;
  world.settings.value = {"192.168.0.10", "255.255.255.0", "192.168.0.1"};
  world.candidates.values = {RFor(57)};
  StartScan({kReplyA});
  EndScanWindow();
  ASSERT_EQ(world.sender.SentOf("0C02S").size(), 1u);
  EXPECT_EQ(world.sender.sent.back(),
            "0C02S" + kIdA +
                "192.168.0.57;255.255.255.0;192.168.0.1;FILER1;WORKGROUP;FILER1;vexil;vexil");
  // The device is probed for the list, then the search probes the candidate.
  EXPECT_EQ(world.prober.probed, (Strings{"192.168.1.20", "192.168.0.57"}));
  EXPECT_EQ(run->NewAddress(), "192.168.0.57");
  // The address found is named before the login page and the request.
  ASSERT_GE(front.statuses.size(), 2u);
  EXPECT_EQ(front.statuses.end()[-2], T(TextId::AddressLocated) + "192.168.0.57");
  EXPECT_EQ(front.status, T(TextId::ConfigurationStarted));
  EXPECT_EQ(front.MarkOf(Row::Access), Mark::Done) << "the check was done";
  EXPECT_EQ(front.MarkOf(Row::Configuration), Mark::None);
  EXPECT_TRUE(run->AwaitingReply());
  // The time-out, and the next look at the new address.
  EXPECT_EQ(world.clock.Armed(), (std::vector<milliseconds>{1000ms, 30000ms}));
  EXPECT_TRUE(run->ReceiverOpen());
  EXPECT_FALSE(front.leavingEnabled);
  EXPECT_EQ(run->Outcome(), RunOutcome::Running) << "awaiting the reply";

  front.answers = {Answer::Ok};
  // The device answers at once at its new address.
  world.prober.answers["192.168.0.57"] = ProbeResult::Answered;
  world.Arrive("0C02R" + kIdA + "2");
  EXPECT_TRUE(world.clock.Armed().empty());
  EXPECT_FALSE(run->ReceiverOpen());
  EXPECT_EQ(front.MarkOf(Row::Configuration), Mark::Done);
  EXPECT_EQ(front.MarkOf(Row::Shortcuts), Mark::Done);
  EXPECT_EQ(front.status, T(TextId::SetupComplete));
  EXPECT_EQ(world.desktop.created,
            (std::vector<std::pair<std::string, std::string>>{{"192.168.0.57", "FILER1"}}));
  EXPECT_EQ(front.MessageTexts(),
            (Strings{T(TextId::ShortcutsNotice), T(TextId::OpenShortcutsQuestion)}));
  EXPECT_EQ(front.shown[0].title, "Warning");
  EXPECT_EQ(world.desktop.opened, Strings{"192.168.0.57"});
  EXPECT_EQ(front.ended, 1);
  EXPECT_EQ(run->Outcome(), RunOutcome::Configured);
}

TEST_F(SetupRunTest, AReplyQueuedAtOnceIsHandledBeforeTheRequestReturns) {
  world.prober.answers["192.168.1.20"] = ProbeResult::NoAnswer;
  world.sender.onSend = [this](const std::string& bytes) {
    if (bytes.starts_with("0C02S"))
      front.events.push_back([this] { world.Arrive("0C02R" + kIdA + "1"); });
  };
  StartScan({kReplyA});
  EndScanWindow();
  EXPECT_EQ(front.status, T(TextId::ConfigurationFailed));
  EXPECT_TRUE(world.clock.Armed().empty());
}

TEST_F(SetupRunTest, ARefusalSaysSoAndEnablesLeaving) {
  // "3" selects no outcome: shown as a failure, never a page with nothing to do.
  for (const std::string status : {"1", "3", ""}) {
    front = FakeFrontEnd{};
    world.prober.answers["192.168.1.20"] = ProbeResult::NoAnswer;
    StartScan({kReplyA});
    EndScanWindow();
    world.Arrive("0C02R" + kIdA + status);
    EXPECT_EQ(front.status, T(TextId::ConfigurationFailed)) << status;
    EXPECT_EQ(front.MarkOf(Row::Configuration), Mark::Failed);
    EXPECT_TRUE(front.leavingEnabled);
    EXPECT_EQ(run->Outcome(), RunOutcome::Refused);
    EXPECT_TRUE(world.clock.Armed().empty());
    EXPECT_FALSE(run->ReceiverOpen());
    EXPECT_TRUE(world.desktop.created.empty());
    EXPECT_EQ(front.ended, 0);
    EXPECT_EQ(front.returnedToScanStart, 0);
  }
}

TEST_F(SetupRunTest, TheTimeOutComesAfterThirtySecondsAndALaterReplyChangesNothing) {
  world.prober.answers["192.168.1.20"] = ProbeResult::NoAnswer;
  StartScan({kReplyA});
  EndScanWindow();
  world.clock.Advance(29999ms);
  EXPECT_EQ(front.status, T(TextId::ConfigurationStarted));
  world.clock.Advance(1ms);
  EXPECT_EQ(front.status, T(TextId::NoReply));
  EXPECT_EQ(front.MarkOf(Row::Configuration), Mark::Failed);
  EXPECT_FALSE(run->ReceiverOpen());
  EXPECT_FALSE(run->AwaitingReply());
  EXPECT_TRUE(world.clock.Armed().empty()) << "the time-out fires once";
  // TextId::NoReply asks the user to run the setup again, which needs Previous.
  EXPECT_TRUE(front.leavingEnabled);
  EXPECT_EQ(run->Outcome(), RunOutcome::NoReply);
  world.Arrive("0C02R" + kIdA + "2");
  EXPECT_EQ(front.status, T(TextId::NoReply));
  EXPECT_TRUE(world.desktop.created.empty());
  EXPECT_EQ(front.ended, 0);
  EXPECT_TRUE(front.shown.empty());
}

TEST_F(SetupRunTest, AConfigurationReplyNamingAnotherDeviceIsIgnoredAndTheWaitGoesOn) {
  world.prober.answers["192.168.1.20"] = ProbeResult::NoAnswer;
  StartScan({kReplyA});
  EndScanWindow();
  std::string otherId = kIdA;
  otherId.back() = 'F';
  // A neighbour's success, a forged one in another case, one too short to
  // name a device: none of them is this device's answer.
  for (const std::string& reply : {"0C02R" + otherId + "2", std::string("0C02R00:0a:1b:2c:3d:4e2"),
                                   "0C02R" + kIdA.substr(0, 16), "0C02R" + otherId + "1"}) {
    world.Arrive(reply);
    EXPECT_TRUE(run->AwaitingReply()) << reply;
  }
  EXPECT_EQ(run->IgnoredDatagrams(), 4);
  EXPECT_EQ(front.status, T(TextId::ConfigurationStarted));
  EXPECT_TRUE(run->ReceiverOpen());
  EXPECT_TRUE(world.desktop.created.empty());
  world.clock.Advance(29999ms);
  front.answers = {Answer::Cancel};
  world.Arrive("0C02R" + kIdA + "2");
  world.clock.Advance(kWatchNewAddress);  // the device is awaited at its new address
  EXPECT_EQ(world.desktop.created.size(), 1u);
  EXPECT_EQ(front.ended, 1);
}

TEST_F(SetupRunTest, EveryDeviceIsCheckedBusyAndBeforeTheList) {
  struct Probe {
    std::string address;
    bool busy;
    bool listed;
    bool eventRan;
  };
  std::vector<Probe> probes;
  // An event already pending stands for any: it must not get in between the
  // list's probes, only once the list has been answered.
  bool eventRan = false;
  world.prober.onProbe = [&](const std::string& address) {
    probes.push_back({address, front.busy, !front.listed.empty(), eventRan});
  };
  world.prober.answers = {{"192.168.1.20", ProbeResult::Answered},
                          {"10.20.30.40", ProbeResult::NoAnswer}};
  front.credentials.reset();
  StartScan({kReplyA, kReplyB});
  front.events.push_back([&] { eventRan = true; });
  front.choice = 1;
  EndScanWindow();
  ASSERT_GE(probes.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(probes[i].busy) << i;
    EXPECT_FALSE(probes[i].listed) << i;
    EXPECT_FALSE(probes[i].eventRan) << i;
  }
  EXPECT_EQ(front.listedReachable, (std::vector<bool>{true, false}));
  EXPECT_TRUE(eventRan);
  EXPECT_FALSE(front.busy) << "the busy cursor is gone";
}

TEST_F(SetupRunTest, NoFreeAddressAfterTwentyTriesReturnsToTheScanStart) {
  world.prober.otherwise = ProbeResult::Answered;
  world.prober.answers["192.168.1.20"] = ProbeResult::NoAnswer;
  world.candidates.values = {RFor(30), RFor(31), RFor(32)};
  StartScan({kReplyA});
  EndScanWindow();
  EXPECT_EQ(front.status, T(TextId::NoFreeAddress));
  EXPECT_EQ(front.MessageTexts(), Strings{T(TextId::NoFreeAddressMessage)});
  EXPECT_EQ(front.shown[0].title, "TAVO");
  EXPECT_EQ(front.returnedToScanStart, 1);
  EXPECT_EQ(run->Outcome(), RunOutcome::NoFreeAddress);
  EXPECT_TRUE(world.sender.SentOf("0C02S").empty());
  EXPECT_EQ(front.credentialsAsked, 0);
}

TEST_F(SetupRunTest, UnusablePcSettingsEndTheProgram) {
  struct Case {
    LocalSettings settings;
    Strings messages;
  };
  const std::string invalid = "Your PC's IP address settings are invalid or not available.";
  const std::string notConfigured = T(TextId::PcNetworkNotConfigured);
  for (const Case& c : {Case{{}, {invalid, notConfigured}},
                        Case{{"1.2.3", "255.0.0.0", ""}, {invalid, notConfigured}},
                        Case{{"0.0.0.0", "0.0.0.0", "0.0.0.0"}, {notConfigured}}}) {
    front = FakeFrontEnd{};
    world.settings.value = c.settings;
    world.prober.answers["192.168.1.20"] = ProbeResult::NoAnswer;
    world.prober.probed.clear();
    StartScan({kReplyA});
    EndScanWindow();
    EXPECT_EQ(front.MessageTexts(), c.messages) << c.settings.LocalAddress;
    if (c.messages.size() == 2) {
      EXPECT_EQ(front.shown[0].title, "TAVO");
    }
    EXPECT_EQ(front.shown.back().title, "Warning");
    EXPECT_EQ(world.prober.probed.size(), 1u) << "only the list's probe";
    EXPECT_EQ(front.ended, 1);
    EXPECT_EQ(run->Outcome(), RunOutcome::PcNotConfigured);
  }
}

TEST_F(SetupRunTest, WhereNoEchoCanBeSentNoAddressIsTakenAndItIsSaidOnce) {
  world.prober.otherwise = ProbeResult::CouldNotProbe;
  world.prober.reason = "Operation not permitted";
  StartScan({kReplyA, kReplyB});
  EndScanWindow();
  EXPECT_EQ(front.listedReachable, (std::vector<bool>{false, false}));
  EXPECT_TRUE(world.sender.SentOf("0C02S").empty()) << "no configuration request";
  ASSERT_EQ(front.shown.size(), 2u);
  EXPECT_EQ(front.shown[0].text,
            "Cannot send echo requests (ping) from this PC: Operation not permitted.\r\n"
            "Whether a device or an address answers cannot be checked.");
  EXPECT_EQ(front.shown[0].icon, Icon::Exclamation);
  EXPECT_EQ(front.shown[1].text, T(TextId::NoFreeAddressMessage));
  EXPECT_EQ(front.status, T(TextId::NoFreeAddress));
  EXPECT_EQ(front.returnedToScanStart, 1);
}

TEST_F(SetupRunTest, LoginCancelledSendsNothingAndArmsNoTimeOut) {
  world.prober.answers["192.168.1.20"] = ProbeResult::NoAnswer;
  front.credentials.reset();
  StartScan({kReplyA});
  EndScanWindow();
  EXPECT_EQ(front.credentialsAsked, 1);
  EXPECT_TRUE(world.sender.SentOf("0C02S").empty());
  EXPECT_TRUE(world.clock.Armed().empty());
  EXPECT_FALSE(run->ReceiverOpen());
  EXPECT_EQ(front.returnedToScanStart, 1);
  EXPECT_EQ(run->Outcome(), RunOutcome::Cancelled);
  EXPECT_EQ(front.ended, 0);
}

TEST_F(SetupRunTest, AFailedConfigurationSendIsShownAndTheThirtySecondWaitStillRuns) {
  world.prober.answers["192.168.1.20"] = ProbeResult::NoAnswer;
  world.sender.failures.assign(kDiscoveryRequests, {SendOutcome::Stage::Sent, 0});
  world.sender.failures.push_back({SendOutcome::Stage::SendFailed, 10051});
  StartScan({kReplyA});
  EndScanWindow();
  ASSERT_EQ(front.shown.size(), 1u);
  EXPECT_EQ(front.shown[0].text, "Cannot Send Request.\r\n 10051Network is unreachable.");
  EXPECT_EQ(front.shown[0].title, "TAVO");
  EXPECT_TRUE(run->AwaitingReply());
  EXPECT_EQ(world.clock.Armed(), (std::vector<milliseconds>{1000ms, 30000ms}));
  world.clock.Advance(kReplyTimeout);
  EXPECT_EQ(front.status, T(TextId::NoReply));
}

TEST_F(SetupRunTest, ShortcutFailureIsReportedAndTheRunStillEnds) {
  world.prober.answers["192.168.1.20"] = ProbeResult::Answered;
  world.desktop.createError = "The desktop folder cannot be written.";
  StartScan({kReplyA});
  EndScanWindow();
  ASSERT_EQ(front.shown.size(), 2u);
  EXPECT_EQ(
      front.shown[0].text,
      "Cannot create the shortcuts on your desktop.\r\nThe desktop folder cannot be written.");
  EXPECT_EQ(front.shown[1].text, T(TextId::OpenShortcutsQuestion));
  EXPECT_EQ(front.status, "Cannot create the shortcuts on your desktop.");
  EXPECT_EQ(front.MarkOf(Row::Shortcuts), Mark::Failed);
  EXPECT_EQ(front.ended, 1);
}

TEST_F(SetupRunTest, ShortcutsNotWantedAreNoFailureAndThePostscriptStays) {
  world.desktop.skip = true;
  world.candidates.values = {RFor(57)};
  StartScan({kReplyA});
  EndScanWindow();
  world.Arrive("0C02R" + kIdA + "2");
  world.clock.Advance(kWatchNewAddress + 1s);
  EXPECT_EQ(front.MessageTexts(),
            (Strings{T(TextId::NotAnsweringYet), T(TextId::OpenShortcutsQuestion)}));
  EXPECT_EQ(front.status, "No shortcuts wanted.");
  EXPECT_EQ(front.MarkOf(Row::Shortcuts), Mark::None);
  EXPECT_EQ(front.ended, 1);
}

TEST_F(SetupRunTest, LaunchFailureIsReportedAndTheRunStillEnds) {
  world.prober.answers["192.168.1.20"] = ProbeResult::Answered;
  world.desktop.openError = "xdg-open could not be started.";
  front.answers = {Answer::Ok};
  StartScan({kReplyA});
  EndScanWindow();
  ASSERT_EQ(front.shown.size(), 3u);
  EXPECT_EQ(front.shown[2].text, "Cannot open the shortcuts.\r\nxdg-open could not be started.");
  EXPECT_EQ(front.shown[2].title, "TAVO");
  EXPECT_EQ(front.shown[2].icon, Icon::Exclamation);
  EXPECT_EQ(front.ended, 1);
}

TEST_F(SetupRunTest, GoingBackEmptiesTheTableAndReturnsToTheScanStart) {
  world.prober.answers["192.168.1.20"] = ProbeResult::NoAnswer;
  StartScan({kReplyA});
  EndScanWindow();
  world.Arrive("0C02R" + kIdA + "1");
  run->GoBack();
  EXPECT_EQ(run->LastDevice(), -1);
  EXPECT_EQ(run->Devices()[0], DeviceRecord{});
  EXPECT_EQ(front.returnedToScanStart, 1);
}

TEST_F(SetupRunTest, NothingActsOnceStopped) {
  StartScan({kReplyA});
  run->Stop();
  EXPECT_FALSE(run->ReceiverOpen());
  EXPECT_TRUE(world.clock.Armed().empty());
  world.clock.Advance(kReplyTimeout);
  world.Arrive(kReplyB);
  EXPECT_EQ(run->LastDevice(), 0);
  EXPECT_TRUE(front.listed.empty());
  EXPECT_TRUE(front.shown.empty());
}

// A PC whose first adapter is a VPN and whose second is on the devices' LAN.
std::vector<Adapter> VpnThenLan() {
  return {{"vpn0", 5, {"10.8.0.2", "255.255.255.0", "10.8.0.1"}, true},
          {"eth1", 7, {"192.168.1.10", "255.255.255.0", "192.168.1.1"}, true},
          {"wlan0", 9, {"0.0.0.0", "0.0.0.0", "0.0.0.0"}, true}};
}

TEST_F(SetupRunTest, TheDeviceGetsTheSettingsOfTheAdapterItAnsweredOn) {
  for (const bool several : {true, false}) {
    SCOPED_TRACE(several);
    world.sender = FakeSender{};
    front = FakeFrontEnd{};
    world.settings.adapters = VpnThenLan();
    if (!several) world.settings.adapters.erase(world.settings.adapters.begin());
    world.settings.value = world.settings.adapters[0].settings;
    world.candidates.values = {RFor(57)};
    StartScan({});
    world.Arrive(kReplyA, {7, "192.168.1.10"});
    EndScanWindow();
    ASSERT_EQ(world.sender.SentOf("0C02S").size(), 1u);
    EXPECT_EQ(world.sender.sent.back(),
              "0C02S" + kIdA +
                  "192.168.1.57;255.255.255.0;192.168.1.1;FILER1;WORKGROUP;FILER1;vexil;vexil");
    // With one adapter the system's routes pick the way out.
    EXPECT_EQ(world.sender.via.back(), several ? "eth1" : "");
  }
}

TEST_F(SetupRunTest, AfterConfigurationTheDeviceIsAwaitedAtItsNewAddressForTenSeconds) {
  for (const bool appears : {true, false}) {
    SCOPED_TRACE(appears);
    front = FakeFrontEnd{};
    world.prober = FakeProber{};
    world.candidates.values = {RFor(57)};
    StartScan({kReplyA});
    EndScanWindow();
    world.Arrive("0C02R" + kIdA + "2");
    EXPECT_TRUE(run->Watching());
    world.clock.Advance(2900ms);
    EXPECT_TRUE(front.shown.empty());
    // It answers ARP (not the echo) 3 s later, or never.
    if (appears) world.prober.neighbours["192.168.1.57"] = NeighbourAnswer::Held;
    world.clock.Advance(200ms);
    EXPECT_EQ(front.shown.empty(), !appears);
    world.clock.Advance(kWatchNewAddress);
    const std::string notice = T(TextId::ShortcutsNotice);
    EXPECT_EQ(front.MessageTexts(),
              (Strings{appears ? notice : notice + "\r\n\r\n" + T(TextId::NotAnsweringYet),
                       T(TextId::OpenShortcutsQuestion)}));
    EXPECT_EQ(front.ended, 1);
    EXPECT_TRUE(world.clock.Armed().empty());
  }
}

// The reply to the configuration request is lost after the device acted:
// while the run waits it looks at the new address once a second.
TEST_F(SetupRunTest, ADeviceFoundAtItsNewAddressWithoutAReplyEndsInAnUnconfirmedSuccess) {
  const HardwareAddress own = *ParseHardwareAddress(kIdA), other{0x02, 0, 0, 0, 0, 1};
  const std::string unconfirmed =
      T(TextId::ShortcutsNotice) + "\r\n\r\n" + T(TextId::FoundWithoutConfirmation);
  const struct {
    const char* what;
    NeighbourAnswer arp;
    std::optional<HardwareAddress> hardware;
    std::string reply;  // arrives just after the device appears
    RunOutcome outcome;
    long looks;  // at 1 s, 2 s ... until the run ends
  } cases[] = {
      {"its own hardware address", NeighbourAnswer::Held, own, "", RunOutcome::Configured, 3},
      {"no hardware address to compare", NeighbourAnswer::Held, {}, "", RunOutcome::Configured, 3},
      {"another host took the address", NeighbourAnswer::Held, other, "", RunOutcome::NoReply, 29},
      {"nobody there", NeighbourAnswer::Silent, {}, "", RunOutcome::NoReply, 29},
      {"a refusal first", NeighbourAnswer::Held, own, "0C02R" + kIdA + "1", RunOutcome::Refused, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    front = FakeFrontEnd{};
    world.prober = FakeProber{};
    world.desktop = FakeDesktop{};
    world.candidates.values = {RFor(57)};
    StartScan({kReplyA});
    EndScanWindow();
    world.clock.Advance(2500ms);
    world.prober.neighbours["192.168.1.57"] = c.arp;
    if (c.hardware) world.prober.hardware["192.168.1.57"] = *c.hardware;
    if (!c.reply.empty()) world.Arrive(c.reply);
    world.clock.Advance(500ms);  // the look at 3 s
    if (c.outcome == RunOutcome::Configured) {
      EXPECT_EQ(front.MessageTexts(), (Strings{unconfirmed, T(TextId::OpenShortcutsQuestion)}));
      EXPECT_EQ(world.desktop.created.size(), 1u);
      EXPECT_EQ(front.MarkOf(Row::Configuration), Mark::Done);
      EXPECT_EQ(front.ended, 1);
      EXPECT_FALSE(run->ReceiverOpen());
      EXPECT_EQ(world.prober.probed, Strings({"192.168.1.20", "192.168.1.57"}))
          << "no second watch: the look found it";
    }
    world.clock.Advance(kReplyTimeout);
    EXPECT_EQ(run->Outcome(), c.outcome);
    EXPECT_TRUE(world.clock.Armed().empty());
    // Looks that do not wait for ARP's answer, so the page never stalls.
    EXPECT_EQ(std::count(world.prober.asked.begin(), world.prober.asked.end(), "~192.168.1.57"),
              c.looks);
  }
}

TEST_F(SetupRunTest, ChineseTextsFollowTheLanguage) {
  Open(Language::TraditionalChinese);
  EXPECT_EQ(front.status, "搜尋網路磁碟機中，請稍後...");
  // The messages this program adds come from the table too.
  world.prober.otherwise = ProbeResult::CouldNotProbe;
  world.clock.Advance(kScanStartDelay);
  world.Arrive(kReplyA);
  EndScanWindow();
  ASSERT_GE(front.shown.size(), 1u);
  EXPECT_EQ(front.shown[0].text,
            "本電腦無法送出回應要求（ping）。\r\n無法檢查裝置或位址是否有回應。");
}

TEST_F(SetupRunTest, AListWithoutChoiceIsNoChoice) {
  front.choice = std::nullopt;
  StartScan({kReplyA});
  EndScanWindow();
  EXPECT_EQ(front.listed.size(), 1u);
  EXPECT_EQ(run->Outcome(), RunOutcome::NoChoice);
  EXPECT_EQ(front.returnedToScanStart, 1);
}

}  // namespace
}  // namespace orvane::testing

// Whole setup runs on Step 4 with the network and desktop faked at their seams:
// every outcome of a run, what was sent, what was shown and where it ends.

#include <QPointer>

#include "shell/core/wizard_state.h"
#include "shell/resources.h"
#include "tests/device/step4/step4_harness.h"

namespace orvane::testing {
namespace {

const std::string kIdA = "00:0A:1B:2C:3D:4E";

TEST_F(Step4Test, NoDeviceShowsText36AndReturnsToStep3) {
  frmMain2* page = StartScan({});
  ASSERT_EQ(world.sender.sent, std::vector<std::string>{"0C01S"});
  EXPECT_TRUE(page->ReceiverOpen());
  QPointer<frmMain2> guard(page);
  EndScanWindow(page);
  ASSERT_TRUE(guard);
  EXPECT_FALSE(page->ReceiverOpen());
  EXPECT_EQ(Status(page), Text(35));
  EXPECT_EQ(MarkOf(page, "pic1"), 106);
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_EQ(Tk().Shown()[0].text, Text(36));
  EXPECT_EQ(Tk().Shown()[0].title, "TAVO");
  EXPECT_EQ(Tk().Shown()[0].buttons, Buttons::Ok);
  EXPECT_TRUE(page->IsUnloaded());
  ASSERT_NE(FindPage("frmMain0"), nullptr);
  EXPECT_EQ(Page::LivePages().size(), 1);
  EXPECT_EQ(Tk().EndCount(), 0);
}

TEST_F(Step4Test, ReachableDeviceGetsShortcutsToItsAddressAndNoRequest) {
  for (Answer last : {Answer::Ok, Answer::Cancel}) {
    ResetWizard();
    world.desktop = FakeDesktop{};
    world.prober.answers["192.168.1.20"] = ProbeAnswer::Answered;
    frmMain2* page = StartScan({kReplyA});
    ChooseRow(0);
    Tk().QueueAnswers({Answer::Ok, last});
    EndScanWindow(page);
    EXPECT_EQ(world.sender.sent.back(), "0C01S") << "no configuration request";
    ASSERT_EQ(world.desktop.created.size(), 1u);
    EXPECT_EQ(world.desktop.created[0],
              (std::pair<std::string, std::string>{"192.168.1.20", "FILER1"}));
    EXPECT_EQ(Status(page), Text(45));
    for (const char* pic : {"pic1", "pic2", "pic3", "pic4"}) EXPECT_EQ(MarkOf(page, pic), 105);
    ASSERT_EQ(BoxTexts(), (std::vector<QString>{Text(46), Text(57)}));
    EXPECT_EQ(Tk().Shown()[0].title, "Warning");
    EXPECT_EQ(Tk().Shown()[1].buttons, Buttons::OkCancel);
    EXPECT_EQ(Tk().Shown()[1].title, "Warning");
    EXPECT_EQ(world.desktop.opened, last == Answer::Ok ? std::vector<std::string>{"192.168.1.20"}
                                                       : std::vector<std::string>{});
    EXPECT_EQ(Tk().EndCount(), 1);
    EXPECT_TRUE(Page::LivePages().isEmpty());
    world.sender.sent.clear();
  }
}

TEST_F(Step4Test, UnreachableDeviceIsConfiguredAndSuccessEndsWithShortcutsToNewAddress) {
  world.prober.answers["192.168.1.20"] = ProbeAnswer::NoAnswer;
  world.settings.local = {"192.168.0.10", "255.255.255.0", "192.168.0.1"};
  candidates.values = {RFor(57)};
  frmMain2* page = StartScan({kReplyA});
  ChooseRow(0);
  ConfirmLogin();
  EndScanWindow(page);
  ASSERT_EQ(world.sender.sent.size(), 2u);
  EXPECT_EQ(world.sender.sent[1],
            "0C02S" + kIdA +
                "192.168.0.57;255.255.255.0;192.168.0.1;FILER1;WORKGROUP;FILER1;vexil;vexil");
  // The list page probes the device, then the search probes the candidate.
  EXPECT_EQ(world.prober.probed, (std::vector<std::string>{"192.168.1.20", "192.168.0.57"}));
  EXPECT_EQ(page->NewAddressValue(), "192.168.0.57");
  EXPECT_EQ(Status(page), Text(42));
  EXPECT_EQ(MarkOf(page, "pic2"), 105);
  EXPECT_EQ(MarkOf(page, "pic3"), 0);
  EXPECT_TRUE(page->Timer3.isActive());
  EXPECT_EQ(page->Timer3.interval(), 30000);
  EXPECT_TRUE(page->ReceiverOpen());
  EXPECT_FALSE(page->ButtonControl("cmdPrevious")->isEnabled());

  Tk().QueueAnswers({Answer::Ok, Answer::Ok});
  world.Arrive("0C02R" + kIdA + "2");
  EXPECT_FALSE(page->Timer3.isActive());
  EXPECT_FALSE(page->ReceiverOpen());
  EXPECT_EQ(MarkOf(page, "pic3"), 105);
  EXPECT_EQ(MarkOf(page, "pic4"), 105);
  EXPECT_EQ(Status(page), Text(49));
  ASSERT_EQ(world.desktop.created.size(), 1u);
  EXPECT_EQ(world.desktop.created[0].first, "192.168.0.57");
  EXPECT_EQ(world.desktop.created[0].second, "FILER1");
  EXPECT_EQ(BoxTexts(), (std::vector<QString>{Text(50), Text(57)}));
  EXPECT_EQ(world.desktop.opened, std::vector<std::string>{"192.168.0.57"});
  EXPECT_EQ(Tk().EndCount(), 1);
}

TEST_F(Step4Test, FailureReplyShowsText47AndEnablesBothButtons) {
  for (const std::string status : {"1", "3"}) {
    ResetWizard();
    world.prober.answers["192.168.1.20"] = ProbeAnswer::NoAnswer;
    frmMain2* page = StartScan({kReplyA});
    ChooseRow(0);
    ConfirmLogin();
    EndScanWindow(page);
    world.Arrive("0C02R" + kIdA + status);
    EXPECT_EQ(Status(page), Text(47)) << status;
    EXPECT_EQ(MarkOf(page, "pic3"), 106);
    EXPECT_TRUE(page->ButtonControl("cmdPrevious")->isEnabled());
    EXPECT_TRUE(page->ButtonControl("cmdExit")->isEnabled());
    EXPECT_FALSE(page->Timer3.isActive());
    EXPECT_FALSE(page->ReceiverOpen());
    EXPECT_TRUE(world.desktop.created.empty());
    EXPECT_EQ(Tk().EndCount(), 0);
    EXPECT_FALSE(page->IsUnloaded());
    world.sender.sent.clear();
  }
}

TEST_F(Step4Test, TimeOutShowsText54AndALaterReplyChangesNothing) {
  world.prober.answers["192.168.1.20"] = ProbeAnswer::NoAnswer;
  frmMain2* page = StartScan({kReplyA});
  ChooseRow(0);
  ConfirmLogin();
  EndScanWindow(page);
  page->Timer3.stop();
  page->Timer3_Timer();
  EXPECT_EQ(Status(page), Text(54));
  EXPECT_EQ(MarkOf(page, "pic3"), 106);
  EXPECT_FALSE(page->ReceiverOpen());
  EXPECT_FALSE(page->Timer3.isActive()) << "the time-out fires once";
  EXPECT_TRUE(page->ButtonControl("cmdPrevious")->isEnabled());
  EXPECT_TRUE(page->ButtonControl("cmdExit")->isEnabled());
  // The reply comes too late: to a closed receiver, and even if delivered
  // straight to the handler it no longer acts.
  world.Arrive("0C02R" + kIdA + "2");
  page->Winsock1_DataArrival("0C02R" + kIdA + "2");
  EXPECT_EQ(Status(page), Text(54));
  EXPECT_TRUE(world.desktop.created.empty());
  EXPECT_EQ(Tk().EndCount(), 0);
  EXPECT_TRUE(Tk().Shown().empty());
}

TEST_F(Step4Test, ConfigurationReplyDuringTheScanIsIgnored) {
  frmMain2* page = StartScan({"0C02R" + kIdA + "2", kReplyA});
  EXPECT_EQ(State().LastDevice, 0);
  EXPECT_TRUE(world.desktop.created.empty());
  EXPECT_EQ(Tk().EndCount(), 0);
  EXPECT_TRUE(page->ReceiverOpen());
}

TEST_F(Step4Test, DiscoveryRepliesFillTheTableInArrivalOrder) {
  frmMain2* page = StartScan({kReplyA, "junk", "0C01S", kReplyB, kReplyA, "0c01r" + kReplyA});
  EXPECT_EQ(State().LastDevice, 2);
  EXPECT_EQ(State().Devices[0].HostName, "FILER1");
  EXPECT_EQ(State().Devices[1].HostName, "ARCHIVE");
  EXPECT_EQ(State().Devices[2], State().Devices[0]);
  for (int i = 3; i < kDeviceCount; ++i) EXPECT_EQ(State().Devices[i], DeviceRecord{});
  // After the window a reply is not received.
  page->Timer1.stop();
  world.sender.onSend = nullptr;
  ChooseRow(1);
  world.prober.otherwise = ProbeAnswer::Answered;
  Tk().QueueAnswers({Answer::Ok, Answer::Cancel});
  page->Timer1_Timer();
  world.Arrive(kReplyB);
  EXPECT_EQ(State().LastDevice, 2);
  ASSERT_EQ(world.desktop.created.size(), 1u);
  EXPECT_EQ(world.desktop.created[0].first, "10.20.30.40");
}

TEST_F(Step4Test, NoFreeAddressAfterTwentyTriesReturnsToStep3) {
  world.prober.otherwise = ProbeAnswer::Answered;
  world.prober.answers["192.168.1.20"] = ProbeAnswer::NoAnswer;
  candidates.values = {RFor(30), RFor(31), RFor(32)};
  frmMain2* page = StartScan({kReplyA});
  // The list page shows the device as unreachable: its probe answers NoAnswer.
  ChooseRow(0);
  EndScanWindow(page);
  // Twenty candidates probed (after the list page's own probe of the device).
  ASSERT_EQ(world.prober.probed.size(), 21u);
  EXPECT_EQ(world.prober.probed[1], "192.168.1.30");
  EXPECT_EQ(world.prober.probed[20], "192.168.1.32");
  EXPECT_EQ(Status(page), Text(43));
  EXPECT_EQ(BoxTexts(), std::vector<QString>{Text(44)});
  EXPECT_EQ(Tk().Shown()[0].title, "TAVO");
  EXPECT_NE(FindPage("frmMain0"), nullptr);
  EXPECT_EQ(world.sender.sent.size(), 1u);
}

TEST_F(Step4Test, UnusablePcSettingsEndTheProgram) {
  struct Case {
    LocalSettings local;
    std::vector<QString> boxes;
  };
  const QString invalid = "Your PC's IP address settings are invalid or not available.";
  for (const Case& c :
       {Case{{}, {invalid, Text(40)}}, Case{{"1.2.3", "255.0.0.0", ""}, {invalid, Text(40)}},
        Case{{"0.0.0.0", "0.0.0.0", "0.0.0.0"}, {Text(40)}}}) {
    ResetWizard();
    world.settings.local = c.local;
    world.prober.answers["192.168.1.20"] = ProbeAnswer::NoAnswer;
    world.prober.probed.clear();
    frmMain2* page = StartScan({kReplyA});
    ChooseRow(0);
    EndScanWindow(page);
    EXPECT_EQ(BoxTexts(), c.boxes) << c.local.LocalAddress;
    EXPECT_EQ(Tk().Shown().back().title, "Warning");
    EXPECT_EQ(world.prober.probed.size(), 1u) << "only the list page's probe";
    EXPECT_EQ(Tk().EndCount(), 1);
    EXPECT_TRUE(Page::LivePages().isEmpty());
  }
}

TEST_F(Step4Test, CandidateThatCouldNotBeProbedIsNeverTakenAsFree) {
  world.prober.answers["192.168.1.20"] = ProbeAnswer::NoAnswer;
  world.prober.otherwise = ProbeAnswer::CouldNotProbe;
  frmMain2* page = StartScan({kReplyA});
  ChooseRow(0);
  EndScanWindow(page);
  EXPECT_FALSE(page->AddressFoundValue());
  EXPECT_EQ(world.sender.sent.size(), 1u) << "no configuration request";
  EXPECT_EQ(Status(page), Text(43));
  EXPECT_NE(FindPage("frmMain0"), nullptr);
}

TEST_F(Step4Test, LoginCancelledSendsNothingAndArmsNoTimeOut) {
  world.prober.answers["192.168.1.20"] = ProbeAnswer::NoAnswer;
  frmMain2* page = StartScan({kReplyA});
  QPointer<frmMain2> guard(page);
  ChooseRow(0);
  WhenShown("frmConfigSimple", [](Page* p) {
    Tk().QueueAnswers({Answer::Ok});
    p->ButtonControl("cmdExit")->click();
  });
  EndScanWindow(page);
  EXPECT_EQ(world.sender.sent.size(), 1u);
  ASSERT_TRUE(guard);
  EXPECT_FALSE(page->Timer3.isActive());
  EXPECT_FALSE(page->ReceiverOpen());
  EXPECT_TRUE(page->IsUnloaded());
  EXPECT_NE(FindPage("frmMain0"), nullptr);
  EXPECT_EQ(Tk().EndCount(), 0);
}

TEST_F(Step4Test, SendFailureIsShownBeforeTheWindowStarts) {
  world.sender.failures = {{SendOutcome::Stage::SendFailed, 10051}};
  bool timerArmedWhileShown = true;
  frmMain2* page = nullptr;
  Tk().onBox = [&](const ShownBox&) {
    page = static_cast<frmMain2*>(FindPage("frmMain2"));
    timerArmedWhileShown = page->Timer1.isActive();
  };
  page = StartScan({});
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_EQ(Tk().Shown()[0].text, "Cannot Send Request.\r\n 10051Network is unreachable.");
  EXPECT_EQ(Tk().Shown()[0].title, "TAVO");
  EXPECT_EQ(Tk().Shown()[0].icon, Icon::None);
  EXPECT_FALSE(timerArmedWhileShown);
  EXPECT_TRUE(page->Timer1.isActive());
}

TEST_F(Step4Test, TakenReplyPortIsNamedAndTheScanFindsNothing) {
  world.portTaken = true;
  frmMain2* page = StartScan({kReplyA});
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_TRUE(Tk().Shown()[0].text.contains("12310"));
  EXPECT_EQ(State().LastDevice, -1);
  EndScanWindow(page);
  EXPECT_EQ(Tk().Shown().back().text, Text(36));
  EXPECT_NE(FindPage("frmMain0"), nullptr);
}

TEST_F(Step4Test, ShortcutFailureIsReportedAndTheRunStillEnds) {
  world.prober.answers["192.168.1.20"] = ProbeAnswer::Answered;
  world.desktop.createError = "The desktop folder cannot be written.";
  frmMain2* page = StartScan({kReplyA});
  ChooseRow(0);
  Tk().QueueAnswers({Answer::Ok, Answer::Ok});
  EndScanWindow(page);
  ASSERT_EQ(Tk().Shown().size(), 2u);
  EXPECT_TRUE(Tk().Shown()[0].text.contains("The desktop folder cannot be written."));
  EXPECT_NE(Tk().Shown()[0].text, Text(46)) << "never claims shortcuts that were not made";
  EXPECT_EQ(Tk().Shown()[1].text, Text(57));
  EXPECT_EQ(MarkOf(page, "pic4"), 106);
  EXPECT_EQ(Tk().EndCount(), 1);
}

TEST_F(Step4Test, PreviousAfterFailureStartsAFreshScanFromStep3) {
  world.prober.answers["192.168.1.20"] = ProbeAnswer::NoAnswer;
  frmMain2* page = StartScan({kReplyA});
  ChooseRow(0);
  ConfirmLogin();
  EndScanWindow(page);
  world.Arrive("0C02R" + kIdA + "1");
  page->ButtonControl("cmdPrevious")->click();
  EXPECT_EQ(State().LastDevice, -1);
  EXPECT_EQ(State().Devices[0], DeviceRecord{});
  Page* step3 = FindPage("frmMain0");
  ASSERT_NE(step3, nullptr);
  world.sender.sent.clear();
  step3->ButtonControl("cmdNext")->click();
  auto* again = static_cast<frmMain2*>(FindPage("frmMain2"));
  ASSERT_NE(again, nullptr);
  ASSERT_NE(again, page);
  EXPECT_TRUE(WaitFor([&] { return again->Timer1.isActive(); }));
  EXPECT_EQ(world.sender.sent, std::vector<std::string>{"0C01S"});
}

}  // namespace
}  // namespace orvane::testing

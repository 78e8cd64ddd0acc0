// The real wizard on the lab's LAN, against the device simulator, with nothing
// faked but the user: real broadcasts, receiver, probes, settings, shortcut
// files and launches. The user's answers come from the test toolkit.
//
// The devices (tests/lab/CMakeLists.txt, lab.wizard):
//   a 192.168.50.20  ...:4E FILER1  in the PC's subnet, replies to the sender
//   b 10.20.30.40    ...:4F FILER2  foreign subnet, --apply (really moves)
//   c 10.20.30.41    ...:50 FILER3  foreign subnet, password "secret"
//   d 10.20.30.42    ...:51 FILER4  foreign subnet, silent to configuration
// Replies are delayed 0, 150, 300 and 450 ms so their arrival order is known.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QTreeWidget>

#include <thread>

#include "tests/lab/lab_net.h"
#include "tests/lab/wizard_lab_support.h"
#include "tests/support/shell_link_reader.h"
#include "tests/support/test_toolkit.h"
#include "ui/resources.h"
#include "wizard/page_flow.h"

namespace orvane::lab {
namespace {

using orvane::testing::Tk;

TEST_F(WizardLab, ScanListsEveryDeviceInArrivalOrder) {
  const LogTail logs[] = {LogTail(Lab("DEV_A_LOG")), LogTail(Lab("DEV_B_LOG")),
                          LogTail(Lab("DEV_C_LOG")), LogTail(Lab("DEV_D_LOG"))};
  std::vector<DeviceRecord> seen;
  QStringList reachable;
  // Waiting costs nothing: the CPU this process uses over the window, up to
  // 2.8 s or until the list page opens, whichever comes first. Nothing of the
  // test polls meanwhile: the page is awaited through its Show event.
  rusage before{}, after{};
  bool measured = false;
  QElapsedTimer window;
  double windowSeconds = 0;
  QEventLoop windowLoop;
  const auto measure = [&] {
    if (measured) return;
    getrusage(RUSAGE_SELF, &after);
    windowSeconds = window.elapsed() / 1000.0;
    measured = true;
    windowLoop.quit();
  };
  SetupRunPage* page = nullptr;
  WhenShown("frmSelect", [&](FormWindow* p) {
    measure();
    const SetupRun& run = page->Run();
    for (int i = 0; i <= run.LastDevice(); ++i) seen.push_back(run.Devices()[std::size_t(i)]);
    for (int i = run.LastDevice() + 1; i < kDeviceCount; ++i)
      EXPECT_EQ(run.Devices()[std::size_t(i)], DeviceRecord{});
    auto* list = static_cast<QTreeWidget*>(p->ControlByName("ListView1"));
    for (int row = 0; row < list->topLevelItemCount(); ++row)
      reachable << list->topLevelItem(row)->text(1);
    Tk().QueueAnswers({Answer::Ok});
    p->ButtonControl("cmdExit")->click();  // ends the run
  });
  page = StartStep4();
  ASSERT_TRUE(orvane::testing::WaitFor([&] { return page->Run().ScanWindowOpen(); }, 2000));
  getrusage(RUSAGE_SELF, &before);
  window.start();
  QTimer::singleShot(2800, &windowLoop, measure);
  windowLoop.exec();
  const double windowCpu = CpuSeconds(after) - CpuSeconds(before);
  ASSERT_TRUE(orvane::testing::WaitFor([] { return Ended(); }, 15000));

  ASSERT_EQ(seen.size(), 4u);
  const DeviceRecord a{"00:0A:1B:2C:3D:4E",
                       "192.168.50.20",
                       "255.255.255.0",
                       "192.168.50.1",
                       "FILER1",
                       "WORKGROUP",
                       "FILER1",
                       "DISK-80G",
                       156301488,
                       76900000,
                       70000000};
  EXPECT_EQ(seen[0], a);
  EXPECT_EQ(seen[1].DeviceId, "00:0A:1B:2C:3D:4F");
  EXPECT_EQ(seen[1].IpAddress, "10.20.30.40");
  EXPECT_EQ(seen[1].HostName, "FILER2");
  EXPECT_EQ(seen[2].IpAddress, "10.20.30.41");
  EXPECT_EQ(seen[3].IpAddress, "10.20.30.42");
  EXPECT_EQ(reachable, (QStringList{"Yes", "No", "No", "No"}));
  // Every simulator received exactly one datagram: the 5 bytes "0C01S".
  for (const auto& log : logs) {
    const auto received = log.NewReceived();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_NE(received[0].find(ExpectedReceivedTail("0C01S")), std::string::npos) << received[0];
  }
  std::printf("scan window: %.4f s CPU over %.2f s (%.2f %% of a core)\n", windowCpu, windowSeconds,
              100 * windowCpu / windowSeconds);
  EXPECT_LT(windowCpu / windowSeconds, 0.02);
}

TEST_F(WizardLab, FloodOfJunkDuringTheWindowNeitherStallsNorHidesDevices) {
  SetupRunPage* page = StartStep4();
  ASSERT_TRUE(orvane::testing::WaitFor([&] { return page->Run().ScanWindowOpen(); }, 2000));
  // The UI thread's longest stall: the largest gap between ticks of a 5 ms timer.
  QElapsedTimer gap;
  qint64 longest = 0;
  QTimer tick;
  tick.setInterval(5);
  QObject::connect(&tick, &QTimer::timeout, [&] { longest = std::max(longest, gap.restart()); });
  gap.start();
  tick.start();
  std::thread flooder([] {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(12310);
    inet_pton(AF_INET, Lab("PC_ADDR").c_str(), &to.sin_addr);
    for (int i = 0; i < 10000; ++i) {
      const std::string junk = "JUNK" + std::to_string(i) + std::string(40, 'x');
      sendto(fd, junk.data(), junk.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
      if (i % 20 == 0) std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    close(fd);
  });
  int listed = -1;
  WhenShown("frmSelect", [&](FormWindow* p) {
    listed = page->Run().LastDevice() + 1;
    Tk().QueueAnswers({Answer::Ok});
    p->ButtonControl("cmdExit")->click();
  });
  // The window ends 3 s after the request; the list page's probes that follow
  // block on purpose and are not part of it.
  orvane::testing::WaitFor([] { return false; }, 2800);
  tick.stop();
  flooder.join();
  ASSERT_TRUE(orvane::testing::WaitFor([] { return Ended(); }, 15000));
  std::printf("flood of 10000 junk datagrams: longest UI stall %lld ms, %d devices listed\n",
              static_cast<long long>(longest), listed);
  EXPECT_EQ(listed, 4);
  EXPECT_LT(longest, 50);
}

TEST_F(WizardLab, ReachableDeviceGetsShortcutsToItsCurrentAddress) {
  const LogTail logA(Lab("DEV_A_LOG"));
  ChooseRowWhenListed(0);
  Tk().QueueAnswers({Answer::Ok, Answer::Ok});
  const double seconds = RunUntilEnded(20000);
  EXPECT_EQ(BoxTexts(),
            (QStringList{T(TextId::ReachableShortcutsNotice), T(TextId::OpenShortcutsQuestion)}));
  ExpectShortcuts("FILER1", "192.168.50.20");
  EXPECT_EQ(Opened(), (QStringList{"smb://192.168.50.20/", "http://192.168.50.20"}));
  for (const auto& line : logA.NewReceived())
    EXPECT_EQ(line.find("0C02S"), std::string::npos) << "no configuration request: " << line;
  std::printf("reachable path: %.2f s\n", seconds);
}

TEST_F(WizardLab, WrongCredentialsShowText47WithPreviousAndExitEnabled) {
  ChooseRowWhenListed(2);
  ConfirmLoginWhenShown();
  SetupRunPage* page = StartStep4();
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(orvane::testing::WaitFor(
      [&] { return page->LabelControl("lblRun")->text() == T(TextId::ConfigurationFailed); },
      20000));
  EXPECT_EQ(page->PictureControl("pic3")->PictureNumber(), 106);
  EXPECT_TRUE(page->ButtonControl("cmdPrevious")->isEnabled());
  EXPECT_TRUE(page->ButtonControl("cmdExit")->isEnabled());
  EXPECT_FALSE(Ended());
  std::printf("wrong credentials path: %.2f s\n", clock.elapsed() / 1000.0);
}

TEST_F(WizardLab, SilentDeviceGivesText54AfterThirtySeconds) {
  ChooseRowWhenListed(3);
  ConfirmLoginWhenShown();
  SetupRunPage* page = StartStep4();
  ASSERT_TRUE(orvane::testing::WaitFor([&] { return page->Run().AwaitingReply(); }, 20000));
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(orvane::testing::WaitFor(
      [&] { return page->LabelControl("lblRun")->text() == T(TextId::NoReply); }, 40000));
  const qint64 waited = clock.elapsed();
  EXPECT_GT(waited, 29900);
  EXPECT_LT(waited, 30600);
  EXPECT_EQ(page->PictureControl("pic3")->PictureNumber(), 106);
  EXPECT_FALSE(page->Run().ReceiverOpen());
  EXPECT_TRUE(page->ButtonControl("cmdPrevious")->isEnabled());
  std::printf("silent device: text 54 after %.2f s of waiting\n", waited / 1000.0);
}

// Last: it really moves device b into the PC's subnet.
TEST_F(WizardLab, ForeignDeviceGetsAFreeAddressAndMovesThere) {
  const LogTail logB(Lab("DEV_B_LOG"));
  ChooseRowWhenListed(1);
  ConfirmLoginWhenShown();
  std::string newAddress;
  Tk().onBox = [&](const orvane::testing::ShownBox& box) {
    if (box.text == T(TextId::ShortcutsNotice))
      newAddress = static_cast<SetupRunPage*>(FindPage("frmMain2"))->Run().NewAddress();
  };
  Tk().QueueAnswers({Answer::Ok, Answer::Ok});
  const double seconds = RunUntilEnded(30000);
  EXPECT_EQ(BoxTexts(),
            (QStringList{T(TextId::ShortcutsNotice), T(TextId::OpenShortcutsQuestion)}));
  ASSERT_EQ(newAddress.rfind("192.168.50.", 0), 0u) << newAddress;
  EXPECT_NE(newAddress, "192.168.50.10");
  EXPECT_NE(newAddress, "192.168.50.20");
  const std::string request = "0C02S00:0A:1B:2C:3D:4F" + newAddress +
                              ";255.255.255.0;192.168.50.1;FILER2;WORKGROUP;FILER2;vexil;vexil";
  bool logged = false;
  for (const auto& line : logB.NewReceived())
    logged = logged || line.find(ExpectedReceivedTail(request)) != std::string::npos;
  EXPECT_TRUE(logged) << "the simulator logged the exact request for " << newAddress;
  EXPECT_TRUE(AnswersPing(newAddress, milliseconds(500))) << "the device moved";
  ExpectShortcuts("FILER2", newAddress);
  EXPECT_EQ(Opened(), (QStringList{QString::fromStdString("smb://" + newAddress + "/"),
                                   QString::fromStdString("http://" + newAddress)}));
  std::printf("foreign device moved to %s: %.2f s\n", newAddress.c_str(), seconds);
}

}  // namespace
}  // namespace orvane::lab

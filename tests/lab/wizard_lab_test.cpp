// The real wizard on the lab's LAN, against the device simulator, with nothing
// faked but the user: real broadcasts, receiver, probes, settings, shortcut
// files and launches. The user's answers come from the test toolkit.
//
// The devices (tests/lab/CMakeLists.txt, lab.wizard):
//   a 192.168.50.20  ...:4E FILER1  in the PC's subnet, replies to the sender
//   b 10.20.30.40    ...:4F FILER2  foreign subnet, --apply (really moves)
//   c 10.20.30.41    ...:50 FILER3  foreign subnet, password "secret"
//   d 10.20.30.42    ...:51 FILER4  foreign subnet, silent to configuration
//   e 192.168.50.66                 no simulator: a third host the tests send from
// Replies are delayed 0, 150, 300 and 450 ms so their arrival order is known;
// c answers a configuration request after 1.5 s.

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
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <fstream>
#include <random>
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
  ASSERT_TRUE(orvane::testing::WaitFor([] { return ProgramEnded(); }, 15000));

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
  // Every simulator received the 5 bytes "0C01S", eight times, and nothing else.
  for (const auto& log : logs) {
    const auto received = log.NewReceived();
    ASSERT_EQ(received.size(), std::size_t(kDiscoveryRequests));
    for (const auto& line : received)
      EXPECT_NE(line.find(ExpectedReceivedTail("0C01S")), std::string::npos) << line;
  }
  std::printf("scan window: %.4f s CPU over %.2f s (%.2f %% of a core)\n", windowCpu, windowSeconds,
              100 * windowCpu / windowSeconds);
  EXPECT_LT(windowCpu / windowSeconds, 0.02);
}

// The flood of one scan window, from the third host: random bytes of random
// sizes, truncated and over-long discovery replies, replies with a 10 kB
// field, and 1000 valid replies of distinct identities.
std::string FloodDatagram(int i, std::mt19937& random, std::string_view noise) {
  const std::string pc = Lab("PC_ADDR");
  const auto reply = [&](const std::string& identity, std::string_view host) {
    return "0C01R" + identity + ";IP='" + pc + "';NETMASK='255.255.255.0';GATEWAY='" +
           Lab("PC_GATEWAY") + "';HOSTNAME='" + std::string(host) +
           "';WORKGROUP='W';HOSTNAME_FULL='F';HDMODEL='M';HDCAPACITY='1';HDTOTAL='2';HDAVAIL='1'";
  };
  // Sizes spread evenly over their logarithm, from 1 byte to the UDP maximum.
  const auto size = [&] {
    return std::size_t(std::exp(std::uniform_real_distribution<>(0, std::log(65507.0))(random)));
  };
  char identity[18];
  std::snprintf(identity, sizeof identity, "FLOOD-%011d", i);
  const std::size_t at = std::uniform_int_distribution<std::size_t>(0, 65507)(random);
  const int kind = i % 100;
  if (kind == 0) return reply(identity, "FLOODED");  // 1000 valid, each its own identity
  if (kind < 40) {
    const std::size_t n = size();
    return std::string(noise.substr(at % (noise.size() - n + 1), n));
  }
  if (kind < 60) {
    const std::string whole = reply(identity, "CUT");
    return whole.substr(0, at % whole.size());
  }
  if (kind < 80) return reply(identity, "LONG") + std::string(noise.substr(0, size() % 65300));
  return reply(identity, std::string(10240, 'H'));
}

long PeakRssKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

TEST_F(WizardLab, FloodOfJunkDuringTheWindowNeitherStallsNorHidesDevices) {
  SetupRunPage* page = StartStep4();
  // The flood starts once the four devices have answered: the first eleven
  // readable replies are kept, so they stay on the list.
  ASSERT_TRUE(orvane::testing::WaitFor([&] { return page->Run().LastDevice() == 3; }, 2500));
  std::string noise(65507, '\0');
  std::mt19937 random(12310);
  for (char& c : noise) c = char(random());
  const long rssBefore = PeakRssKb();

  // The UI thread's event latency: how late each tick of a 5 ms timer on the
  // page's thread comes, while the window lasts.
  std::vector<double> lateMs;
  QElapsedTimer gap;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  tick.setInterval(5);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const double ms = gap.nsecsElapsed() / 1e6;
    gap.restart();
    if (page->Run().ScanWindowOpen()) lateMs.push_back(std::max(0.0, ms - 5));
  });
  gap.start();
  tick.start();
  std::atomic<int> sent{0};
  std::atomic<bool> entered{false};
  QElapsedTimer sending;
  sending.start();
  std::atomic<qint64> sendingMs{0};
  std::thread flooder = StartInNamespace(Lab("DEV_E_NS"), [&](bool in) {
    entered = in;
    if (!in) return;
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(12310);
    inet_pton(AF_INET, Lab("PC_ADDR").c_str(), &to.sin_addr);
    std::mt19937 mine(7);
    for (int i = 0; i < 100000; ++i) {
      const std::string datagram = FloodDatagram(i, mine, noise);
      if (sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to),
                 sizeof to) >= 0)
        ++sent;
    }
    sendingMs = sending.elapsed();
    close(fd);
  });
  std::vector<std::string> listed;
  WhenShown("frmSelect", [&](FormWindow* p) {
    tick.stop();
    const SetupRun& run = page->Run();
    for (int i = 0; i <= run.LastDevice(); ++i)
      listed.push_back(run.Devices()[std::size_t(i)].DeviceId);
    Tk().QueueAnswers({Answer::Ok});
    p->ButtonControl("cmdExit")->click();
  });
  ASSERT_TRUE(orvane::testing::WaitFor([] { return ProgramEnded(); }, 20000));
  flooder.join();
  const long rssAfter = PeakRssKb();
  ASSERT_TRUE(entered) << "the third host's namespace";
  ASSERT_FALSE(lateMs.empty());
  std::sort(lateMs.begin(), lateMs.end());
  const auto at = [&](double q) { return lateMs[std::size_t(q * double(lateMs.size() - 1))]; };
  std::printf(
      "flood: %d of 100000 datagrams sent in %lld ms; UI event latency over %zu ticks: p50 %.2f "
      "ms, p99 %.2f ms, max %.2f ms; peak RSS %ld kB before, %ld kB after (+%ld kB); %zu listed\n",
      sent.load(), static_cast<long long>(sendingMs.load()), lateMs.size(), at(0.5), at(0.99),
      lateMs.back(), rssBefore, rssAfter, rssAfter - rssBefore, listed.size());
  ASSERT_EQ(listed.size(), std::size_t(kDeviceCount)) << "the first eleven readable replies";
  const std::vector<std::string> real = {"00:0A:1B:2C:3D:4E", "00:0A:1B:2C:3D:4F",
                                         "00:0A:1B:2C:3D:50", "00:0A:1B:2C:3D:51"};
  EXPECT_EQ(std::vector<std::string>(listed.begin(), listed.begin() + 4), real);
  for (std::size_t i = 4; i < listed.size(); ++i) EXPECT_EQ(listed[i].rfind("FLOOD-", 0), 0u);
  EXPECT_LT(at(0.99), 50);
#ifndef __SANITIZE_ADDRESS__
  // Under AddressSanitizer freed blocks wait in its quarantine (up to 256 MB)
  // before they are reused, so the peak RSS measures the sanitizer instead.
  EXPECT_LT(rssAfter - rssBefore, 5 * 1024);
#endif
}

TEST_F(WizardLab, ForeignAndForgedConfigurationRepliesAreIgnored) {
  // c (FILER3) takes the wrong factory password and says so after 1.5 s.
  // Before that, a neighbour's success and a forged one arrive: if either
  // counted, the run would end with shortcuts to an address nobody took.
  ChooseHostWhenListed("FILER3");
  ConfirmLoginWhenShown();
  SetupRunPage* page = StartStep4();
  ASSERT_TRUE(orvane::testing::WaitFor([&] { return page->Run().AwaitingReply(); }, 20000));
  const std::string pc = Lab("PC_ADDR");
  std::string neighbour, forged;
  std::thread fromA = StartInNamespace(Lab("DEV_A_NS"), [&](bool in) {
    neighbour = in ? SendRequest("0C02R00:0A:1B:2C:3D:4E2", pc, 12310) : "not entered";
  });
  std::thread fromE = StartInNamespace(Lab("DEV_E_NS"), [&](bool in) {
    forged = in ? SendRequest("0C02R00:0a:1b:2c:3d:502", pc, 12310) : "not entered";
    // A discovery reply behind it shows that this host's datagrams arrive:
    // the three are counted as ignored.
    if (forged.empty())
      forged = SendRequest(
          "0C01RTHIRD-HOST-0001;IP='" + Lab("DEV_E_ADDR") +
              "';NETMASK='255.255.255.0';GATEWAY='192.168.50.1';HOSTNAME='E';WORKGROUP='W';"
              "HOSTNAME_FULL='E'",
          pc, 12310);
  });
  fromA.join();
  fromE.join();
  ASSERT_EQ(neighbour, "");
  ASSERT_EQ(forged, "");
  ASSERT_TRUE(orvane::testing::WaitFor([&] { return page->Run().IgnoredDatagrams() == 3; }, 1000))
      << "the third host's datagrams reach the wizard";
  EXPECT_TRUE(page->Run().AwaitingReply());
  EXPECT_EQ(page->LabelControl("lblRun")->text(), T(TextId::ConfigurationStarted));
  ASSERT_TRUE(orvane::testing::WaitFor(
      [&] { return page->LabelControl("lblRun")->text() == T(TextId::ConfigurationFailed); },
      5000));
  EXPECT_EQ(page->PictureControl("pic3")->ProgramPicture(), Picture::MarkFailed);
  EXPECT_TRUE(
      QDir(QString::fromLocal8Bit(qgetenv("HOME")) + "/Desktop").entryList(QDir::Files).isEmpty());
  EXPECT_FALSE(ProgramEnded());
}

TEST_F(WizardLab, ReachableDeviceGetsShortcutsToItsCurrentAddress) {
  const LogTail logA(Lab("DEV_A_LOG"));
  ChooseHostWhenListed("FILER1");
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

TEST_F(WizardLab, WrongCredentialsSayConfigurationFailedWithPreviousAndExitEnabled) {
  ChooseHostWhenListed("FILER3");
  ConfirmLoginWhenShown();
  SetupRunPage* page = StartStep4();
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(orvane::testing::WaitFor(
      [&] { return page->LabelControl("lblRun")->text() == T(TextId::ConfigurationFailed); },
      20000));
  EXPECT_EQ(page->PictureControl("pic3")->ProgramPicture(), Picture::MarkFailed);
  EXPECT_TRUE(page->ButtonControl("cmdPrevious")->isEnabled());
  EXPECT_TRUE(page->ButtonControl("cmdExit")->isEnabled());
  EXPECT_FALSE(ProgramEnded());
  std::printf("wrong credentials path: %.2f s\n", clock.elapsed() / 1000.0);
}

TEST_F(WizardLab, SilentDeviceGivesNoReplyAfterThirtySeconds) {
  ChooseHostWhenListed("FILER4");
  ConfirmLoginWhenShown();
  SetupRunPage* page = StartStep4();
  ASSERT_TRUE(orvane::testing::WaitFor([&] { return page->Run().AwaitingReply(); }, 20000));
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(orvane::testing::WaitFor(
      [&] { return page->LabelControl("lblRun")->text() == T(TextId::NoReply); }, 40000));
  const qint64 waited = clock.elapsed();
  // Both ends are seen by a 5 ms poll of the event loop, which a loaded
  // machine can delay by tens of milliseconds at either end.
  EXPECT_GT(waited, 29700);
  EXPECT_LT(waited, 30800);
  EXPECT_EQ(page->PictureControl("pic3")->ProgramPicture(), Picture::MarkFailed);
  EXPECT_FALSE(page->Run().ReceiverOpen());
  EXPECT_TRUE(page->ButtonControl("cmdPrevious")->isEnabled());
  std::printf("silent device: the no-reply message after %.2f s of waiting\n", waited / 1000.0);
}

// A user who has only a keyboard: from Step 0 to the shortcuts of the
// reachable device with keys alone, sent where the focus is. Enter presses the
// default button of Steps 0 to 2; on Step 3 Tab takes the focus to Next and
// Space presses it; in the device list the arrow keys choose the row and Enter
// takes it. The two closing messages are answered by the toolkit.
TEST_F(WizardLab, KeyboardAloneTakesTheReachableDeviceFromStep0ToItsShortcuts) {
  const auto press = [](const char* page, Qt::Key key) {
    FormWindow* p = FindPage(page);
    ASSERT_NE(p, nullptr) << page;
    ASSERT_NE(p->focusWidget(), nullptr) << page << " has no focus";
    QTest::keyClick(p->focusWidget(), key);
  };
  WhenShown("frmSelect", [&](FormWindow* p) {
    auto* list = static_cast<QTreeWidget*>(p->ControlByName("ListView1"));
    EXPECT_EQ(p->focusWidget(), list);
    press("frmSelect", Qt::Key_Down);
    press("frmSelect", Qt::Key_Down);
    EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 2);
    press("frmSelect", Qt::Key_Home);
    // Down to FILER1, wherever its reply put it.
    for (int i = 0; i < 4 && list->currentItem()->text(2) != "FILER1"; ++i)
      press("frmSelect", Qt::Key_Down);
    press("frmSelect", Qt::Key_Return);
  });
  Tk().QueueAnswers({Answer::Ok, Answer::Ok});
  flow.GoTo(PageId::Welcome);
  for (const char* page : {"frmPre1", "frmPre2", "frmMain"}) press(page, Qt::Key_Return);
  FormWindow* step3 = FindPage("frmMain0");
  ASSERT_NE(step3, nullptr);
  for (int i = 0; i < 4 && step3->focusWidget() != step3->ButtonControl("cmdNext"); ++i)
    press("frmMain0", Qt::Key_Tab);
  ASSERT_EQ(step3->focusWidget(), step3->ButtonControl("cmdNext"));
  press("frmMain0", Qt::Key_Space);
  ASSERT_NE(FindPage("frmMain2"), nullptr);
  ASSERT_TRUE(orvane::testing::WaitFor([] { return ProgramEnded(); }, 20000))
      << "the run did not end";
  EXPECT_EQ(BoxTexts(),
            (QStringList{T(TextId::ReachableShortcutsNotice), T(TextId::OpenShortcutsQuestion)}));
  ExpectShortcuts("FILER1", "192.168.50.20");
  EXPECT_EQ(Opened(), (QStringList{"smb://192.168.50.20/", "http://192.168.50.20"}));
}

// Last: it really moves device b into the PC's subnet.
TEST_F(WizardLab, ForeignDeviceGetsAFreeAddressAndMovesThere) {
  const LogTail logB(Lab("DEV_B_LOG"));
  ChooseHostWhenListed("FILER2");
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

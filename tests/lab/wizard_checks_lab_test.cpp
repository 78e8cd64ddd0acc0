// What the wizard checked when a scan finds nothing, against the situations
// that cause it; each test runs in a lab of its own (tests/lab/CMakeLists.txt,
// lab.wizard_checks_*) with one device a 192.168.50.20, or b 10.20.30.40.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QTreeWidget>

#include "device/scan_report.h"
#include "tests/lab/lab_net.h"
#include "tests/lab/wizard_lab_support.h"
#include "tests/support/test_toolkit.h"
#include "ui/form_window.h"

namespace orvane::lab {
namespace {

using orvane::testing::Tk;

class WizardChecks : public WizardLab {
 protected:
  // Runs a scan that finds nothing and returns the details behind TextId::NoDeviceFoundMessage.
  QString DetailsOfEmptyScan() {
    StartStep4();
    EXPECT_TRUE(orvane::testing::WaitFor([] { return FindPage("frmMain0") != nullptr; }, 10000));
    const auto& shown = Tk().Shown();
    if (shown.empty() || shown.back().text != T(TextId::NoDeviceFoundMessage)) {
      ADD_FAILURE() << "no TextId::NoDeviceFoundMessage";
      return {};
    }
    EXPECT_EQ(shown.back().details.button, T(TextId::ChecksButton));
    return shown.back().details.text;
  }
  static QString T(TextId id) { return WizardLab::T(id); }
  static QString Line(TextId id, const QString& a = {}, const QString& b = {}) {
    return T(id).replace("%1", a).replace("%2", b);
  }
};

TEST_F(WizardChecks, PortHeldByAnotherProgram) {
  const int holder = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(12310);
  ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&any), sizeof any), 0);
  const QString details = DetailsOfEmptyScan();
  close(holder);
  EXPECT_TRUE(details.contains(Line(TextId::ChecksPortFailed, "Address already in use")))
      << details.toStdString();
  EXPECT_TRUE(details.endsWith("- " + T(TextId::CausePortHeld))) << details.toStdString();
}

TEST_F(WizardChecks, AdapterWithoutARoute) {
  const QString details = DetailsOfEmptyScan();
  EXPECT_EQ(Tk().Shown()[0].text, "Cannot Send Request.\r\n 10051Network is unreachable.");
  const QString adapter = T(TextId::ChecksAdapter)
                              .replace("%1", "eth0")
                              .replace("%2", "192.168.50.10")
                              .replace("%3", "255.255.255.0")
                              .replace("%4", "0.0.0.0");
  EXPECT_TRUE(details.contains(adapter)) << details.toStdString();
  EXPECT_TRUE(
      details.contains(Line(TextId::ChecksNotSent, "eth0", "10051 Network is unreachable.")));
  EXPECT_TRUE(details.endsWith("- " + T(TextId::CauseNotSent))) << details.toStdString();
  EXPECT_FALSE(details.contains(T(TextId::ChecksSelfTestLost)));
}

TEST_F(WizardChecks, FirewallDroppingTheReplyPort) {
  // The lab's PATH leaves out /usr/sbin.
  ASSERT_TRUE(Capture({"/usr/sbin/nft",
                       "add table inet orvlab; "
                       "add chain inet orvlab in { type filter hook input priority 0 ; } ; "
                       "add rule inet orvlab in udp dport 12310 drop"}));
  const LogTail logA(Lab("DEV_A_LOG"));
  const QString details = DetailsOfEmptyScan();
  EXPECT_EQ(logA.NewReceived().size(), std::size_t(kDiscoveryRequests))
      << "the device heard the requests and answered";
  EXPECT_TRUE(details.contains(T(TextId::ChecksPortReady)));
  EXPECT_TRUE(details.contains(Line(TextId::ChecksSent, "eth0")));
  EXPECT_TRUE(details.contains(Line(TextId::ChecksReplies, "0")));
  EXPECT_TRUE(details.contains(T(TextId::ChecksSelfTestLost)));
  EXPECT_TRUE(
      details.endsWith(T(TextId::ChecksCauses) + "\r\n- " + T(TextId::CauseFirewallCertain)))
      << details.toStdString();
  std::printf("%s\n", details.toStdString().c_str());
}

// A device in another subnet answers: it is listed, nothing is blamed, and
// once configured (it says so, but stays where it is: no --apply) the wizard
// waits 10 s for it at its new address and then says it has not answered.
TEST_F(WizardChecks, DeviceInAnotherSubnetAnswers) {
  QPointer<SetupRunPage> page;
  int replies = -1;
  std::size_t causes = 99;
  WhenShown("frmSelect", [&](FormWindow* p) {
    replies = page->Run().Report().deviceReplies;
    causes = LikelyCauses(page->Run().Report()).size();
    auto* list = static_cast<QTreeWidget*>(p->ControlByName("ListView1"));
    list->setCurrentItem(list->topLevelItem(0));
    p->ButtonControl("cmdNext")->click();
  });
  ConfirmLoginWhenShown();
  Tk().QueueAnswers({Answer::Ok, Answer::Cancel});
  QElapsedTimer clock;
  page = StartStep4();
  // The reply comes at once, so the watch is what can be waited for.
  ASSERT_TRUE(orvane::testing::WaitFor([&] { return page && page->Run().Watching(); }, 8000));
  clock.start();
  ASSERT_TRUE(orvane::testing::WaitFor([] { return ProgramEnded(); }, 20000));
  EXPECT_EQ(replies, 1);
  EXPECT_EQ(causes, 0u);
  // Seen from here after the first probe, which blocks for its 500 ms.
  EXPECT_GE(clock.elapsed(), 9000);
  EXPECT_EQ(BoxTexts(),
            (QStringList{T(TextId::ShortcutsNotice) + "\r\n\r\n" + T(TextId::NotAnsweringYet),
                         T(TextId::OpenShortcutsQuestion)}));
  std::printf("not answering at its new address: the notice after %.2f s\n",
              clock.elapsed() / 1000.0);
}

}  // namespace
}  // namespace orvane::lab

// The real wizard on a LAN as it is rather than as a lab is: a configuration
// reply lost after the device acted, a NAS that drops pings, and datagrams
// lost both ways.
//
// lab.wizard_real_lan (tests/lab/CMakeLists.txt):
//   f 10.20.30.43    ...:53 FILER5  foreign subnet, --apply, its reply is lost
//   p 192.168.50.40  ...:54 FILER6  in the PC's subnet, drops echo requests
// lab.wizard_loss: five devices in the PC's subnet; 20 % of the requests are
// dropped at each device and 20 % of the replies at the PC.

#include <QTreeWidget>

#include "tests/lab/lab_net.h"
#include "tests/lab/wizard_lab_support.h"
#include "tests/support/test_toolkit.h"
#include "ui/form_window.h"

namespace orvane::lab {
namespace {

using orvane::testing::Tk;

TEST_F(WizardLab, ADeviceWhoseReplyIsLostIsFoundAtItsNewAddress) {
  const LogTail logF(Lab("DEV_F_LOG"));
  ChooseHostWhenListed("FILER5");
  ConfirmLoginWhenShown();
  std::string newAddress;
  Tk().onBox = [&](const orvane::testing::ShownBox&) {
    if (FindPage("frmMain2") && newAddress.empty())
      newAddress = static_cast<SetupRunPage*>(FindPage("frmMain2"))->Run().NewAddress();
  };
  Tk().QueueAnswers({Answer::Ok, Answer::Cancel});
  const double seconds = RunUntilEnded(20000);
  EXPECT_EQ(BoxTexts(),
            (QStringList{T(TextId::ShortcutsNotice) + "\r\n\r\n" +
                             T(TextId::FoundWithoutConfirmation),
                         T(TextId::OpenShortcutsQuestion)}));
  ASSERT_EQ(newAddress.rfind("192.168.50.", 0), 0u) << newAddress;
  bool lost = false;
  for (const std::string& line : logF.NewLines())
    lost = lost || line.find(" LOST ") != std::string::npos;
  EXPECT_TRUE(lost) << "the device acted and its reply never left";
  EXPECT_TRUE(AnswersPing(newAddress, milliseconds(1000))) << "the device moved";
  ExpectShortcuts("FILER5", newAddress);
  std::printf("reply lost: FILER5 found at %s, run ended after %.2f s\n", newAddress.c_str(),
              seconds);
}

TEST_F(WizardLab, ANasThatDropsPingsInThePcsSubnetKeepsItsAddress) {
  const LogTail logP(Lab("DEV_P_LOG"));
  QString reachable;
  WhenShown("frmSelect", [&](FormWindow* p) {
    auto* list = static_cast<QTreeWidget*>(p->ControlByName("ListView1"));
    const auto rows = list->findItems("FILER6", Qt::MatchExactly, 2);
    if (rows.size() != 1) return;
    reachable = rows[0]->text(1);
    list->setCurrentItem(rows[0]);
    p->ButtonControl("cmdNext")->click();
  });
  Tk().QueueAnswers({Answer::Ok, Answer::Cancel});
  RunUntilEnded(20000);
  EXPECT_EQ(reachable, "Yes");
  EXPECT_EQ(BoxTexts(), (QStringList{T(TextId::ReachableShortcutsNotice),
                                     T(TextId::OpenShortcutsQuestion)}));
  ExpectShortcuts("FILER6", "192.168.50.40");
  for (const std::string& line : logP.NewReceived())
    EXPECT_EQ(line.find("0C02S"), std::string::npos) << "no configuration request: " << line;
  EXPECT_FALSE(AnswersPing("192.168.50.40", milliseconds(500))) << "it does drop pings";
}

TEST_F(WizardLab, LossBothWaysStillListsEveryDevice) {
  int complete = 0;
  std::string counts;
  for (int scan = 0; scan < 20; ++scan) {
    orvane::testing::ResetWindows();
    int listed = 0;
    WhenShown("frmSelect", [&](FormWindow* p) {
      listed = static_cast<SetupRunPage*>(FindPage("frmMain2"))->Run().LastDevice() + 1;
      Tk().QueueAnswers({Answer::Ok});
      p->ButtonControl("cmdExit")->click();
    });
    StartStep4();
    // The list ends the program by its Exit; an empty scan goes back to Step 3.
    ASSERT_TRUE(orvane::testing::WaitFor([] { return Ended() || FindPage("frmMain0"); }, 15000));
    complete += listed == 5;
    counts += std::to_string(listed) + " ";
  }
  std::printf("loss of 20 %% each way, five devices: all five listed in %d of 20 scans (%s)\n",
              complete, counts.c_str());
  EXPECT_GE(complete, 19);
}

}  // namespace
}  // namespace orvane::lab

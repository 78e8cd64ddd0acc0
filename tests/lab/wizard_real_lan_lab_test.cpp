// The real wizard on a LAN as it is rather than as a lab is: a configuration
// reply lost after the device acted, and a NAS that drops pings.
//
// lab.wizard_real_lan (tests/lab/CMakeLists.txt):
//   f 10.20.30.43    ...:53 FILER5  foreign subnet, --apply, its reply is lost
//   p 192.168.50.40  ...:54 FILER6  in the PC's subnet, drops echo requests

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

}  // namespace
}  // namespace orvane::lab

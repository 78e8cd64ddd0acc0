// A PC with two adapters on two LANs, the first one (eth0, with the default
// route) on the "wrong" network, like a VPN or a container bridge listed
// before the LAN (tests/lab/CMakeLists.txt, lab.wizard_adapters):
//   eth0 10.99.0.10/24     v 10.99.0.20    ...:4E FILER1  reachable
//   eth1 192.168.50.10/24  b 10.20.30.40   ...:4F FILER2  foreign subnet, --apply

#include <QTreeWidget>

#include "tests/lab/lab_net.h"
#include "tests/lab/wizard_lab_support.h"
#include "tests/support/test_toolkit.h"
#include "ui/form_window.h"

namespace orvane::lab {
namespace {

using orvane::testing::Tk;

TEST_F(WizardLab, ADeviceOnTheSecondAdapterIsFoundAndSetUpForThatNetwork) {
  const LogTail logV(Lab("DEV_V_LOG"));
  const LogTail logB(Lab("DEV_B_LOG"));
  QStringList listed;
  WhenShown("frmSelect", [&](FormWindow* p) {
    auto* list = static_cast<QTreeWidget*>(p->ControlByName("ListView1"));
    for (int row = 0; row < list->topLevelItemCount(); ++row)
      listed << list->topLevelItem(row)->text(3) + " " + list->topLevelItem(row)->text(1);
    list->setCurrentItem(list->findItems("10.20.30.40", Qt::MatchExactly, 3).value(0));
    p->ButtonControl("cmdNext")->click();
  });
  ConfirmLoginWhenShown();
  std::string newAddress;
  Tk().onBox = [&](const orvane::testing::ShownBox& box) {
    if (box.text == T(TextId::ShortcutsNotice))
      newAddress = static_cast<SetupRunPage*>(FindPage("frmMain2"))->Run().NewAddress();
  };
  Tk().QueueAnswers({Answer::Ok, Answer::Ok});
  const double seconds = RunUntilEnded(30000);
  // In the order they answered, which the network does not promise.
  listed.sort();
  EXPECT_EQ(listed, (QStringList{"10.20.30.40 No", "10.99.0.20 Yes"}));
  // Each device heard the five bytes, through its own LAN's adapter.
  for (const LogTail* log : {&logV, &logB}) {
    const auto received = log->NewReceived();
    ASSERT_FALSE(received.empty());
    EXPECT_NE(received[0].find(ExpectedReceivedTail("0C01S")), std::string::npos) << received[0];
  }
  EXPECT_EQ(logV.NewReceived().size(), std::size_t(kDiscoveryRequests));
  // The address, mask and gateway of eth1, the network the device answered on.
  ASSERT_EQ(newAddress.rfind("192.168.50.", 0), 0u) << newAddress;
  const std::string request = "0C02S00:0A:1B:2C:3D:4F" + newAddress +
                              ";255.255.255.0;192.168.50.1;FILER2;WORKGROUP;FILER2;vexil;vexil";
  bool logged = false;
  for (const auto& line : logB.NewReceived())
    logged = logged || line.find(ExpectedReceivedTail(request)) != std::string::npos;
  EXPECT_TRUE(logged) << "device b got the request for " << newAddress;
  EXPECT_TRUE(AnswersPing(newAddress, milliseconds(500))) << "the device moved";
  ExpectShortcuts("FILER2", newAddress);
  std::printf("second adapter: FILER2 moved to %s in %.2f s\n", newAddress.c_str(), seconds);
}

}  // namespace
}  // namespace orvane::lab

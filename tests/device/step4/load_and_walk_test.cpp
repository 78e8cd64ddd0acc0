// Step 4's load and scan start, and the walk from Step 0 to Step 4 and back
// with Enter, Next and Previous.

#include <QTest>

#include "shell/core/wizard_state.h"
#include "shell/navigation.h"
#include "shell/resources.h"
#include "tests/device/step4/step4_harness.h"

namespace orvane::testing {
namespace {

TEST_F(Step4Test, LoadSetsEverythingAndTheScanStartsOnlyAfterIt) {
  State().LastDevice = 4;
  State().Devices[2].HostName = "left over";
  State().SelectedDevice = 7;
  auto* page = static_cast<frmMain2*>(GoToPage(nullptr, PageId::Main2));
  // The load has run, but nothing was sent from inside it.
  EXPECT_TRUE(world.sender.sent.empty());
  EXPECT_FALSE(page->ReceiverOpen());
  EXPECT_TRUE(page->Timer2.isActive());
  EXPECT_EQ(page->Timer2.interval(), 100);
  EXPECT_FALSE(page->Timer1.isActive());
  EXPECT_EQ(State().LastDevice, -1);
  EXPECT_EQ(State().Devices[2], DeviceRecord{});
  EXPECT_EQ(State().SelectedDevice, 0);
  EXPECT_EQ(State().LocalAddress, "192.168.1.10");
  EXPECT_EQ(State().LocalNetmask, "255.255.255.0");
  EXPECT_EQ(State().LocalGateway, "192.168.1.1");
  const std::pair<const char*, int> captions[] = {
      {"Label1_1", 29}, {"Label2_1", 30}, {"Label3_1", 31},  {"Label4_1", 32},
      {"Label5", 28},   {"lblRun", 33},   {"lblVersion", 58}};
  for (const auto& [name, text] : captions)
    EXPECT_EQ(page->LabelControl(name)->text(), Text(text)) << name;
  EXPECT_EQ(page->ButtonControl("cmdPrevious")->text(), "Previous");
  EXPECT_EQ(page->ButtonControl("cmdExit")->text(), "Exit");
  EXPECT_FALSE(page->ButtonControl("cmdPrevious")->isEnabled());
  EXPECT_FALSE(page->ButtonControl("cmdExit")->isEnabled());
  EXPECT_EQ(MarkOf(page, "pic1"), 104);
  for (const char* pic : {"pic2", "pic3", "pic4"}) EXPECT_EQ(MarkOf(page, pic), 0);
  EXPECT_EQ(page->LabelControl("lblRun")->palette().color(QPalette::Window), QColor(141, 172, 34));
  // Then Timer2 opens the receiver and sends exactly "0C01S", once.
  ASSERT_TRUE(WaitFor([&] { return page->Timer1.isActive(); }));
  EXPECT_EQ(world.sender.sent, std::vector<std::string>{"0C01S"});
  EXPECT_TRUE(page->ReceiverOpen());
  EXPECT_FALSE(page->Timer2.isActive());
  EXPECT_EQ(page->Timer1.interval(), 3000);
}

TEST_F(Step4Test, ChineseBaseShowsTheChineseEntries) {
  State().TextBase = 500;
  auto* page = static_cast<frmMain2*>(GoToPage(nullptr, PageId::Main2));
  EXPECT_EQ(page->LabelControl("Label5")->text(), QString::fromUtf8("執行狀態："));
  EXPECT_EQ(page->LabelControl("lblRun")->text(), QString::fromUtf8("搜尋網路磁碟機中，請稍後..."));
  EXPECT_EQ(page->ButtonControl("cmdPrevious")->text(), QString::fromUtf8("上一步"));
  EXPECT_EQ(page->windowTitle(), "Orvane Configuration and Setup Utility - Step 4");
}

TEST_F(Step4Test, EnterWalksToStep4AndPreviousWalksBackToStep0) {
  GoToPage(nullptr, PageId::Pre1);
  for (const char* expected : {"frmPre2", "frmMain", "frmMain0", "frmMain2"}) {
    Page* p = Page::LivePages().front();
    QTest::keyClick(p->focusWidget() ? p->focusWidget() : p, Qt::Key_Return);
    ASSERT_EQ(Page::LivePages().size(), 1);
    ASSERT_EQ(Page::LivePages().front()->objectName(), expected);
  }
  auto* step4 = static_cast<frmMain2*>(FindPage("frmMain2"));
  // Enter presses Previous, the default button, but only once it is enabled.
  QTest::keyClick(step4, Qt::Key_Return);
  EXPECT_EQ(FindPage("frmMain2"), step4);
  ASSERT_TRUE(WaitFor([&] { return step4->Timer1.isActive(); }));
  world.prober.answers["192.168.1.20"] = ProbeAnswer::NoAnswer;
  world.Arrive(kReplyA);
  ChooseRow(0);
  ConfirmLogin();
  EndScanWindow(step4);
  world.Arrive("0C02R00:0A:1B:2C:3D:4E1");
  ASSERT_TRUE(step4->ButtonControl("cmdPrevious")->isEnabled());
  QTest::keyClick(step4, Qt::Key_Return);
  ASSERT_NE(FindPage("frmMain0"), nullptr);
  EXPECT_EQ(State().LastDevice, -1);
  for (const char* expected : {"frmMain", "frmPre2", "frmPre1"}) {
    Page* p = Page::LivePages().front();
    QTest::mouseClick(p->ButtonControl("cmdPrevious"), Qt::LeftButton);
    ASSERT_EQ(Page::LivePages().front()->objectName(), expected);
  }
  EXPECT_EQ(Tk().EndCount(), 0);
}

TEST_F(Step4Test, ExitAfterAFailureAsksAndEndsOnOk) {
  world.prober.answers["192.168.1.20"] = ProbeAnswer::NoAnswer;
  frmMain2* page = StartScan({kReplyA});
  ChooseRow(0);
  ConfirmLogin();
  EndScanWindow(page);
  world.Arrive("0C02R00:0A:1B:2C:3D:4E1");
  Tk().QueueAnswers({Answer::Cancel});
  QTest::keyClick(page, Qt::Key_Escape);
  EXPECT_EQ(Tk().Shown().back().text, Text(7));
  EXPECT_EQ(Tk().Shown().back().title, Text(8));
  EXPECT_EQ(Tk().EndCount(), 0);
  Tk().QueueAnswers({Answer::Ok});
  page->ButtonControl("cmdExit")->click();
  EXPECT_EQ(Tk().EndCount(), 1);
  EXPECT_TRUE(Page::LivePages().isEmpty());
}

}  // namespace
}  // namespace orvane::testing

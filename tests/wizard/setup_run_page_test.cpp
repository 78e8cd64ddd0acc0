// Step 4 as a page over its run: what its load shows, how it shows what the
// run reports, the pages it opens and leads to, and the walk from Step 0 to
// Step 4 and back, on the fake world and its clock.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>

#include "tests/device/sample_replies.h"
#include "tests/support/page_driver.h"
#include "tests/support/test_toolkit.h"
#include "tests/support/wizard_test.h"
#include "wizard/setup_run_page.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

const std::string kReplyA(test::kWorkedNames);
const std::string kFailure = "0C02R00:0A:1B:2C:3D:4E1";

class SetupRunPageTest : public WizardTest {
 protected:
  SetupRunPage* Open() { return static_cast<SetupRunPage*>(flow.GoTo(PageId::SetupRun)); }
  // Opens Step 4, starts its scan and delivers the replies during the window.
  SetupRunPage* StartScan(const std::vector<std::string>& replies) {
    SetupRunPage* page = Open();
    world.clock.Advance(kScanStartDelay);
    for (const std::string& reply : replies) world.Arrive(reply);
    return page;
  }
  // The window ends; the user picks row 0 and confirms the factory pair.
  void EndScanWindowChoosingTheFirstDevice() {
    ChooseRowWhenShown(0);
    ConfirmLoginWhenShown();
    world.clock.Advance(kScanWindow);
  }
  static QString Status(FormWindow* page) { return page->LabelControl("lblRun")->text(); }
  static Picture MarkOf(FormWindow* page, const char* picture) {
    return page->PictureControl(picture)->ProgramPicture();
  }
};

TEST_F(SetupRunPageTest, LoadShowsTheRowsWithLeavingDisabledAndTheScanStartsLater) {
  SetupRunPage* page = Open();
  const std::pair<const char*, TextId> captions[] = {
      {"Label1_1", TextId::ScanRow},          {"Label2_1", TextId::AccessRow},
      {"Label3_1", TextId::ConfigurationRow}, {"Label4_1", TextId::ShortcutsRow},
      {"Label5", TextId::RunningStatus},      {"lblRun", TextId::Scanning},
      {"lblVersion", TextId::Version}};
  for (const auto& [name, text] : captions)
    EXPECT_EQ(page->LabelControl(name)->text(), T(text)) << name;
  EXPECT_EQ(page->ButtonControl("cmdPrevious")->text(), "Previous");
  EXPECT_EQ(page->ButtonControl("cmdExit")->text(), "Exit");
  EXPECT_FALSE(page->ButtonControl("cmdPrevious")->isEnabled());
  EXPECT_FALSE(page->ButtonControl("cmdExit")->isEnabled());
  EXPECT_EQ(MarkOf(page, "pic1"), Picture::MarkInProgress);
  for (const char* pic : {"pic2", "pic3", "pic4"}) EXPECT_EQ(MarkOf(page, pic), Picture::None);
  EXPECT_EQ(page->LabelControl("lblRun")->palette().color(QPalette::Window), QColor(141, 172, 34));
  EXPECT_TRUE(world.sender.sent.empty()) << "nothing is sent from inside the load";
  world.clock.Advance(kScanStartDelay);
  EXPECT_EQ(world.sender.sent, std::vector<std::string>{"0C01S"});
  EXPECT_TRUE(page->Run().ReceiverOpen());
}

TEST_F(SetupRunPageTest, ChineseLanguageShowsTheChineseEntries) {
  flow.SetLanguage(Language::TraditionalChinese);
  SetupRunPage* page = Open();
  EXPECT_EQ(page->LabelControl("Label5")->text(), QString::fromUtf8("執行狀態："));
  EXPECT_EQ(page->LabelControl("lblRun")->text(), QString::fromUtf8("搜尋網路磁碟機中，請稍後..."));
  EXPECT_EQ(page->ButtonControl("cmdPrevious")->text(), QString::fromUtf8("上一步"));
  EXPECT_EQ(page->windowTitle(), "Orvane Configuration and Setup Utility - Step 4");
}

TEST_F(SetupRunPageTest, EnterWalksToStep4AndPreviousWalksBackToStep0) {
  flow.GoTo(PageId::Welcome);
  for (const char* expected : {"frmPre2", "frmMain", "frmMain0", "frmMain2"}) {
    FormWindow* p = FormWindow::LiveWindows().front();
    QTest::keyClick(p->focusWidget() ? p->focusWidget() : p, Qt::Key_Return);
    ASSERT_EQ(FormWindow::LiveWindows().size(), 1);
    ASSERT_EQ(FormWindow::LiveWindows().front()->objectName(), expected);
  }
  FormWindow* step4 = FindPage("frmMain2");
  // Enter presses Previous, the default button, but only once it is enabled.
  QTest::keyClick(step4, Qt::Key_Return);
  EXPECT_EQ(FindPage("frmMain2"), step4);
  world.clock.Advance(kScanStartDelay);
  world.Arrive(kReplyA);
  EndScanWindowChoosingTheFirstDevice();
  world.Arrive(kFailure);
  // The run's failure, as the page shows it.
  EXPECT_EQ(Status(step4), T(TextId::ConfigurationFailed));
  EXPECT_EQ(MarkOf(step4, "pic1"), Picture::MarkDone);
  EXPECT_EQ(MarkOf(step4, "pic2"), Picture::MarkDone);
  EXPECT_EQ(MarkOf(step4, "pic3"), Picture::MarkFailed);
  ASSERT_TRUE(step4->ButtonControl("cmdPrevious")->isEnabled());
  EXPECT_TRUE(step4->ButtonControl("cmdExit")->isEnabled());
  QTest::keyClick(step4, Qt::Key_Return);
  ASSERT_NE(FindPage("frmMain0"), nullptr);
  for (const char* expected : {"frmMain", "frmPre2", "frmPre1"}) {
    FormWindow* p = FormWindow::LiveWindows().front();
    QTest::mouseClick(p->ButtonControl("cmdPrevious"), Qt::LeftButton);
    ASSERT_EQ(FormWindow::LiveWindows().front()->objectName(), expected);
  }
  EXPECT_EQ(Tk().EndCount(), 0);
}

TEST_F(SetupRunPageTest, PreviousAfterAFailureStartsAFreshScanFromStep3) {
  SetupRunPage* page = StartScan({kReplyA});
  EndScanWindowChoosingTheFirstDevice();
  world.Arrive(kFailure);
  page->ButtonControl("cmdPrevious")->click();
  FormWindow* step3 = FindPage("frmMain0");
  ASSERT_NE(step3, nullptr);
  EXPECT_TRUE(page->IsUnloaded());
  world.sender.sent.clear();
  step3->ButtonControl("cmdNext")->click();
  auto* again = static_cast<SetupRunPage*>(FindPage("frmMain2"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Run().LastDevice(), -1);
  world.clock.Advance(kScanStartDelay);
  EXPECT_EQ(world.sender.sent, std::vector<std::string>{"0C01S"});
}

TEST_F(SetupRunPageTest, ExitAfterAFailureAsksAndEndsOnOk) {
  SetupRunPage* page = StartScan({kReplyA});
  EndScanWindowChoosingTheFirstDevice();
  world.Arrive(kFailure);
  Tk().QueueAnswers({Answer::Cancel});
  QTest::keyClick(page, Qt::Key_Escape);
  EXPECT_EQ(Tk().Shown().back().text, T(TextId::ExitQuestion));
  EXPECT_EQ(Tk().Shown().back().title, T(TextId::Warning));
  EXPECT_EQ(Tk().EndCount(), 0);
  Tk().QueueAnswers({Answer::Ok});
  page->ButtonControl("cmdExit")->click();
  EXPECT_EQ(Tk().EndCount(), 1);
  EXPECT_TRUE(FormWindow::LiveWindows().isEmpty());
}

TEST_F(SetupRunPageTest, NoDeviceOrACancelledLoginLeadsBackToStep3) {
  for (bool withDevice : {false, true}) {
    ResetWindows();
    world.sender.sent.clear();
    QPointer<SetupRunPage> page =
        StartScan(withDevice ? std::vector{kReplyA} : std::vector<std::string>{});
    if (withDevice) {
      ChooseRowWhenShown(0);
      WhenShown("frmConfigSimple", [](FormWindow* p) {
        Tk().QueueAnswers({Answer::Ok});
        p->ButtonControl("cmdExit")->click();
      });
    }
    world.clock.Advance(kScanWindow);
    EXPECT_TRUE(!page || page->IsUnloaded()) << withDevice;
    ASSERT_EQ(FormWindow::LiveWindows().size(), 1) << withDevice;
    EXPECT_EQ(FormWindow::LiveWindows().front()->objectName(), "frmMain0");
    EXPECT_TRUE(FormWindow::LiveWindows().front()->isVisible());
    EXPECT_TRUE(world.sender.SentOf("0C02S").empty()) << "nothing else is sent";
    EXPECT_TRUE(world.clock.Armed().empty());
    EXPECT_EQ(Tk().EndCount(), 0);
  }
}

TEST_F(SetupRunPageTest, CloseBoxEndsTheProgramAtOnceWhileTheRunWaits) {
  SetupRunPage* page = StartScan({kReplyA});
  EndScanWindowChoosingTheFirstDevice();
  ASSERT_TRUE(page->Run().AwaitingReply());
  const std::size_t boxes = Tk().Shown().size();
  page->close();
  EXPECT_EQ(Tk().Shown().size(), boxes) << "no question";
  EXPECT_EQ(Tk().EndCount(), 1);
  EXPECT_TRUE(FormWindow::LiveWindows().isEmpty());
  EXPECT_TRUE(world.clock.Armed().empty()) << "the run stopped with the page";
}

TEST_F(SetupRunPageTest, WhereNoEchoCanBeSentTheListSaysNoForEveryDevice) {
  world.prober.otherwise = ProbeResult::CouldNotProbe;
  world.prober.reason = "Operation not permitted";
  std::string otherDevice = kReplyA;
  otherDevice[21] = 'F';  // the last character of its identity
  StartScan({kReplyA, otherDevice});
  QStringList reachable;
  std::size_t boxesBeforeList = 0;
  WhenShown("frmSelect", [&](FormWindow* p) {
    boxesBeforeList = Tk().Shown().size();
    auto* list = static_cast<QTreeWidget*>(p->ControlByName("ListView1"));
    for (int row = 0; row < list->topLevelItemCount(); ++row)
      reachable << list->topLevelItem(row)->text(1);
    Tk().QueueAnswers({Answer::Ok});
    p->ButtonControl("cmdExit")->click();
  });
  world.clock.Advance(kScanWindow);
  EXPECT_EQ(reachable, (QStringList{"No", "No"}));
  ASSERT_EQ(boxesBeforeList, 1u) << "said once, not once a row";
  EXPECT_TRUE(Tk().Shown()[0].text.startsWith("Cannot send echo requests (ping) from this PC"));
  EXPECT_EQ(Tk().Shown()[0].title, "TAVO");
}

TEST_F(SetupRunPageTest, TheBusyCursorStandsOnlyWhileProbing) {
  std::vector<bool> busyAtProbe;
  world.prober.onProbe = [&](const std::string&) {
    const QCursor* cursor = QApplication::overrideCursor();
    busyAtProbe.push_back(cursor && cursor->shape() == Qt::WaitCursor);
  };
  world.prober.answers["192.168.1.20"] = ProbeResult::Answered;
  StartScan({kReplyA});
  bool busyWhileListed = true;
  WhenShown("frmSelect", [&](FormWindow* p) {
    busyWhileListed = QApplication::overrideCursor() != nullptr;
    p->ButtonControl("cmdNext")->click();
  });
  Tk().QueueAnswers({Answer::Ok, Answer::Cancel});
  world.clock.Advance(kScanWindow);
  EXPECT_EQ(busyAtProbe, std::vector<bool>{true});
  EXPECT_FALSE(busyWhileListed);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(Tk().EndCount(), 1);
}

TEST_F(SetupRunPageTest, EndingTheProgramDuringAMessageStopsTheRunThere) {
  // A reachable device: the run shows TextId::ReachableShortcutsNotice, and the program ends while
  // it is open; the page is still there for the run to see that it stopped.
  world.prober.answers["192.168.1.20"] = ProbeResult::Answered;
  StartScan({kReplyA});
  ChooseRowWhenShown(0);
  Tk().onBox = [](const ShownBox&) {
    Tk().onBox = nullptr;
    Tk().EndProgram();
  };
  world.clock.Advance(kScanWindow);
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_EQ(Tk().Shown()[0].text, T(TextId::ReachableShortcutsNotice));
  EXPECT_TRUE(world.desktop.opened.empty());
  EXPECT_TRUE(FormWindow::LiveWindows().isEmpty());
}

}  // namespace
}  // namespace orvane::testing

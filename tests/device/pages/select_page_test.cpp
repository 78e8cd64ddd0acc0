// The device list page: what it lists, when it probes, and what Next, Exit and
// the close box hand on to Step 4.

#include <gtest/gtest.h>

#include <QTest>
#include <QThread>
#include <functional>

#include "shell/resources.h"
#include "tests/device/pages/select_test_support.h"
#include "tests/support/test_toolkit.h"

namespace orvane {
namespace {

using testing::ScriptedProber;
using testing::Tk;
using SelectPageTest = testing::SelectPageFixture;

TEST_F(SelectPageTest, ListsTheDevicesInTableOrderWithFormattedCells) {
  frmSelect* p = Open();
  EXPECT_EQ(p->windowTitle(),
            "Orvane Configuration and Setup Utility - Select Orvane to configure");
  EXPECT_EQ(p->size(), QSize(608, 376));
  QTreeWidget* list = List(p);
  ASSERT_EQ(list->columnCount(), 8);
  for (int c = 0; c < 8; ++c) EXPECT_EQ(list->headerItem()->text(c), Text(10 + c)) << c;
  EXPECT_EQ(list->headerItem()->text(1), "Reachable?");
  EXPECT_EQ(list->headerItem()->text(6), "HD Available");
  EXPECT_FALSE(list->isSortingEnabled());
  ASSERT_EQ(list->topLevelItemCount(), 3) << "entries past LastDevice are not listed";
  // No., Reachable?, Host Name, IP Address, HD Name, HD Capacity, HD Available, HD Used %
  EXPECT_EQ(Row(p, 0), (QStringList{"0", "Yes", "ORVANE-A", "192.168.1.20", "ST380011A", "80GB",
                                    "76.9GB", "47%"}));
  EXPECT_EQ(Row(p, 1), (QStringList{"1", "Yes", "ORVANE-B", "192.168.1.21", "No HD Installed!", "",
                                    "0", "0"}));
  EXPECT_EQ(Row(p, 2), (QStringList{"2", "No", QString::fromUtf8("Ångström-NAS"), "169.254.3.7",
                                    "Maxtor 6Y120P0", "122.9GB", "118GB", "50%"}));
  EXPECT_EQ(SelectedRow(p), 0) << "the first row is selected on filling";
  EXPECT_EQ(p->LabelControl("Label1")->text(), Text(9));
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), "Next");
  EXPECT_EQ(p->ButtonControl("cmdExit")->text(), "Exit");
  EXPECT_EQ(p->LabelControl("lblVersion")->text(), "Version v2.0  2004/04/29");
  EXPECT_TRUE(p->ButtonControl("cmdNext")->isDefault());
  EXPECT_EQ(p->palette().color(QPalette::Window), QColor(78, 125, 148));
  for (const char* name : {"Label1", "lblVersion"}) {
    EXPECT_EQ(p->LabelControl(name)->palette().color(QPalette::Window),
              ColorFromBgr(State().LabelBackColor))
        << name;
    EXPECT_EQ(p->LabelControl(name)->palette().color(QPalette::WindowText),
              ColorFromBgr(State().LabelForeColor))
        << name;
  }
  EXPECT_TRUE(Tk().Shown().empty());
  EXPECT_EQ(State().SelectedDevice, -1) << "only Next hands a choice on";
}

TEST_F(SelectPageTest, ProbesEveryRowInOrderBeforeThePageShows) {
  const bool chosen = ChooseWith([this](frmSelect& p) {
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is gone once shown";
    ASSERT_EQ(prober_.probed.size(), 3u);
    QTest::keyClick(p.focusWidget(), Qt::Key_Return);
  });
  EXPECT_TRUE(chosen);
  EXPECT_EQ(prober_.Addresses(),
            (std::vector<std::string>{"192.168.1.20", "192.168.1.21", "169.254.3.7"}));
  for (const auto& probe : prober_.probed) {
    EXPECT_FALSE(probe.pageVisible) << probe.address;
    EXPECT_TRUE(probe.busyCursor) << probe.address;
  }
  EXPECT_EQ(prober_.probed.size(), 3u) << "no probe after the load";
}

TEST_F(SelectPageTest, NoEventIsHandledBetweenTheProbes) {
  // A timer due at once stands for any pending event: it must not get in
  // before the last probe, only once the page waits for the user.
  bool fired = false;
  std::vector<bool> firedAtProbe;
  QTimer::singleShot(0, [&] { fired = true; });
  struct Watching : ScriptedProber {
    std::function<void()> onProbe;
    ProbeAnswer Probe(const std::string& a) override {
      onProbe();
      return ScriptedProber::Probe(a);
    }
  } watching;
  watching.answers = prober_.answers;
  watching.onProbe = [&] {
    QThread::msleep(2);  // time passes as in a real probe; events must still wait
    firedAtProbe.push_back(fired);
  };
  services_.prober = &watching;
  frmSelect* p = Open();
  EXPECT_EQ(firedAtProbe, (std::vector<bool>{false, false, false}));
  QCoreApplication::processEvents();
  EXPECT_TRUE(fired);
  p->Unload();
}

struct NextCase {
  const char* name;
  bool fullTable;  // all 11 entries instead of three
  int clickRow;    // -1: no click
  bool byEnter;    // Enter instead of a click on Next
  std::int16_t device;
  bool reachable;
};

void PrintTo(const NextCase& c, std::ostream* os) {
  *os << c.name;
}

class NextHandsOn : public SelectPageTest, public ::testing::WithParamInterface<NextCase> {};

TEST_P(NextHandsOn, TheChosenIndexAndItsReachability) {
  const NextCase& c = GetParam();
  if (c.fullTable) {
    for (int i = 3; i < kDeviceCount; ++i) {
      State().Devices[i].IpAddress = "10.1.1." + std::to_string(i);
      prober_.answers[State().Devices[i].IpAddress] =
          i % 2 ? ProbeAnswer::Answered : ProbeAnswer::NoAnswer;
    }
    State().LastDevice = kDeviceCount - 1;
  }
  const bool chosen = ChooseWith([&c](frmSelect& p) {
    if (c.clickRow >= 0) ClickRow(&p, c.clickRow);
    if (c.byEnter)
      QTest::keyClick(p.focusWidget(), Qt::Key_Return);
    else
      QTest::mouseClick(p.ButtonControl("cmdNext"), Qt::LeftButton);
  });
  EXPECT_TRUE(chosen);
  EXPECT_EQ(State().SelectedDevice, c.device);
  EXPECT_EQ(State().SelectedReachable, c.reachable);
  EXPECT_TRUE(Tk().Shown().empty());
  EXPECT_TRUE(Page::LivePages().isEmpty());
  EXPECT_EQ(Tk().EndCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NextHandsOn,
    ::testing::Values(NextCase{"EnterAtOnceTakesTheFirstRow", false, -1, true, 0, true},
                      NextCase{"Row2ByClickThenNext", false, 2, false, 2, false},
                      NextCase{"Row1ByClickThenEnter", false, 1, true, 1, true},
                      NextCase{"Row10OfAFullTable", true, 10, false, 10, false},
                      NextCase{"Row9OfAFullTable", true, 9, true, 9, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectPageTest, ClickingOrDoubleClickingARowOnlySelectsIt) {
  frmSelect* p = Open();
  ClickRow(p, 2);
  EXPECT_EQ(SelectedRow(p), 2);
  QTest::mouseDClick(List(p)->viewport(), Qt::LeftButton, {},
                     List(p)->visualItemRect(List(p)->topLevelItem(1)).center());
  EXPECT_EQ(SelectedRow(p), 1);
  EXPECT_FALSE(p->IsUnloaded());
  EXPECT_EQ(List(p)->topLevelItemCount(), 3);
  EXPECT_EQ(State().SelectedDevice, -1);
  EXPECT_TRUE(Tk().Shown().empty());
}

TEST_F(SelectPageTest, ExitThenCancelKeepsThePageAndItsSelection) {
  frmSelect* p = Open();
  ClickRow(p, 2);
  ASSERT_EQ(SelectedRow(p), 2);
  Tk().QueueAnswers({Answer::Cancel});
  QTest::mouseClick(p->ButtonControl("cmdExit"), Qt::LeftButton);
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_EQ(Tk().Shown()[0].text, "Are you sure of exiting program?");
  EXPECT_EQ(Tk().Shown()[0].title, "Warning");
  EXPECT_EQ(Tk().Shown()[0].buttons, Buttons::OkCancel);
  EXPECT_FALSE(p->IsUnloaded());
  EXPECT_EQ(SelectedRow(p), 2);
  EXPECT_EQ(Tk().EndCount(), 0);
  EXPECT_EQ(State().SelectedDevice, -1);
  // Esc is the same Exit.
  Tk().QueueAnswers({Answer::Cancel});
  QTest::keyClick(p->focusWidget(), Qt::Key_Escape);
  EXPECT_EQ(Tk().Shown().size(), 2u);
  EXPECT_FALSE(p->IsUnloaded());
}

TEST_F(SelectPageTest, ExitThenOkEndsTheProgram) {
  const bool chosen = ChooseWith([](frmSelect& p) {
    Tk().QueueAnswers({Answer::Ok});
    QTest::mouseClick(p.ButtonControl("cmdExit"), Qt::LeftButton);
  });
  EXPECT_FALSE(chosen);
  EXPECT_EQ(Tk().EndCount(), 1);
  EXPECT_TRUE(Page::LivePages().isEmpty());
  EXPECT_EQ(State().SelectedDevice, -1);
  EXPECT_EQ(Tk().Shown().size(), 1u);
}

TEST_F(SelectPageTest, NextWithTheSelectionClearedShowsText51AndStays) {
  frmSelect* p = Open();
  ClickRow(p, 0, Qt::ControlModifier);  // Ctrl+click on the selected row clears it
  ASSERT_EQ(List(p)->selectedItems().size(), 0);
  QTest::mouseClick(p->ButtonControl("cmdNext"), Qt::LeftButton);
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_EQ(Tk().Shown()[0].text, "Please select the Orvane you want to configure.");
  EXPECT_EQ(Tk().Shown()[0].title, "TAVO");
  EXPECT_EQ(Tk().Shown()[0].buttons, Buttons::Ok);
  EXPECT_FALSE(p->IsUnloaded());
  EXPECT_EQ(State().SelectedDevice, -1);
  // Choosing a row then goes through.
  ClickRow(p, 1);
  QTest::mouseClick(p->ButtonControl("cmdNext"), Qt::LeftButton);
  EXPECT_TRUE(p->IsUnloaded());
  EXPECT_EQ(State().SelectedDevice, 1);
  EXPECT_EQ(Tk().Shown().size(), 1u);
}

TEST_F(SelectPageTest, CloseBoxAsksTheExitConfirmation) {
  const bool chosen = ChooseWith([](frmSelect& p) {
    Tk().QueueAnswers({Answer::Cancel});
    p.close();
    EXPECT_FALSE(p.IsUnloaded()) << "Cancel keeps the page";
    ASSERT_EQ(Tk().Shown().size(), 1u);
    EXPECT_EQ(Tk().Shown()[0].text, Text(7));
    EXPECT_EQ(Tk().Shown()[0].title, Text(8));
    Tk().QueueAnswers({Answer::Ok});
    p.close();
  });
  EXPECT_FALSE(chosen);
  EXPECT_EQ(Tk().Shown().size(), 2u);
  EXPECT_EQ(Tk().EndCount(), 1) << "the run does not go on without a device";
  EXPECT_EQ(State().SelectedDevice, -1);
}

TEST_F(SelectPageTest, NoDeviceGivesHeadersOnlyAndNoProbe) {
  State().LastDevice = -1;
  frmSelect* p = Open();
  EXPECT_EQ(List(p)->columnCount(), 8);
  EXPECT_EQ(List(p)->topLevelItemCount(), 0);
  EXPECT_TRUE(prober_.probed.empty());
  QTest::keyClick(p->focusWidget(), Qt::Key_Return);
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_EQ(Tk().Shown()[0].text, Text(51));
  EXPECT_FALSE(p->IsUnloaded());
}

TEST_F(SelectPageTest, ChineseHeadersButYesAndNoStay) {
  State().TextBase = 500;
  frmSelect* p = Open();
  const char* chinese[] = {"No.",      "網路設定否", "主機名稱", "IP位址",
                           "硬碟名稱", "硬碟容量",   "大小總計", "使用百分比%"};
  for (int c = 0; c < 8; ++c)
    EXPECT_EQ(List(p)->headerItem()->text(c), QString::fromUtf8(chinese[c])) << c;
  EXPECT_EQ(Row(p, 0)[1], "Yes");
  EXPECT_EQ(Row(p, 2)[1], "No");
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), QString::fromUtf8("下一步"));
  EXPECT_EQ(p->LabelControl("Label1")->text(), Text(9));
}

}  // namespace
}  // namespace orvane

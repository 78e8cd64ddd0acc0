// The device list page: what it lists, and what Next, Exit and the close box
// hand back to the run.

#include <gtest/gtest.h>

#include <QTest>
#include <functional>

#include "tests/wizard/device_list_test_support.h"

namespace orvane {
namespace {

using testing::T;
using testing::Tk;
using SelectPageTest = testing::DeviceListFixture;

TEST_F(SelectPageTest, ListsTheDevicesInTableOrderWithFormattedCells) {
  DeviceListPage* p = Open();
  EXPECT_EQ(p->windowTitle(),
            "Orvane Configuration and Setup Utility - Select Orvane to configure");
  EXPECT_EQ(p->size(), QSize(608, 376));
  QTreeWidget* list = List(p);
  ASSERT_EQ(list->columnCount(), 8);
  for (int c = 0; c < 8; ++c)
    EXPECT_EQ(list->headerItem()->text(c),
              T(static_cast<TextId>(static_cast<int>(TextId::ColumnNumber) + c)))
        << c;
  EXPECT_EQ(list->headerItem()->text(1), "Reachable?");
  EXPECT_EQ(list->headerItem()->text(6), "HD Available");
  EXPECT_FALSE(list->isSortingEnabled());
  ASSERT_EQ(list->topLevelItemCount(), 3) << "only the rows it was given";
  // No., Reachable?, Host Name, IP Address, HD Name, HD Capacity, HD Available, HD Used %
  EXPECT_EQ(Row(p, 0), (QStringList{"0", "Yes", "ORVANE-A", "192.168.1.20", "ST380011A", "80GB",
                                    "76.9GB", "47%"}));
  EXPECT_EQ(Row(p, 1), (QStringList{"1", "Yes", "ORVANE-B", "192.168.1.21", "No HD Installed!", "",
                                    "0", "0"}));
  EXPECT_EQ(Row(p, 2), (QStringList{"2", "No", QString::fromUtf8("Ångström-NAS"), "169.254.3.7",
                                    "Maxtor 6Y120P0", "122.9GB", "118GB", "50%"}));
  EXPECT_EQ(SelectedRow(p), 0) << "the first row is selected on filling";
  EXPECT_EQ(p->LabelControl("Label1")->text(), T(TextId::ChooseDeviceInstruction));
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), "Next");
  EXPECT_EQ(p->ButtonControl("cmdExit")->text(), "Exit");
  EXPECT_EQ(p->LabelControl("lblVersion")->text(), "Version v2.0  2004/04/29");
  EXPECT_TRUE(p->ButtonControl("cmdNext")->isDefault());
  EXPECT_EQ(p->palette().color(QPalette::Window), QColor(78, 125, 148));
  for (const char* name : {"Label1", "lblVersion"}) {
    EXPECT_EQ(p->LabelControl(name)->palette().color(QPalette::Window), QColor(78, 125, 148))
        << name;
    EXPECT_EQ(p->LabelControl(name)->palette().color(QPalette::WindowText), QColor(Qt::white))
        << name;
  }
  EXPECT_TRUE(Tk().Shown().empty());
  EXPECT_FALSE(p->Choice()) << "only Next hands a choice on";
}

struct NextCase {
  const char* name;
  bool fullTable;  // all 11 entries instead of three
  int clickRow;    // -1: no click
  bool byEnter;    // Enter instead of a click on Next
  std::size_t row;
};

void PrintTo(const NextCase& c, std::ostream* os) {
  *os << c.name;
}

class NextHandsOn : public SelectPageTest, public ::testing::WithParamInterface<NextCase> {};

TEST_P(NextHandsOn, TheChosenIndexAndItsReachability) {
  const NextCase& c = GetParam();
  if (c.fullTable) {
    for (std::size_t i = 3; i < kDeviceCount; ++i) {
      devices[i].IpAddress = "10.1.1." + std::to_string(i);
      rows.push_back({&devices[i], i % 2 == 1});
    }
  }
  const std::optional<std::size_t> chosen = ChooseWith([&c](DeviceListPage& p) {
    if (c.clickRow >= 0) ClickRow(&p, c.clickRow);
    if (c.byEnter)
      QTest::keyClick(p.focusWidget(), Qt::Key_Return);
    else
      QTest::mouseClick(p.ButtonControl("cmdNext"), Qt::LeftButton);
  });
  EXPECT_EQ(chosen, c.row);
  EXPECT_TRUE(Tk().Shown().empty());
  EXPECT_TRUE(FormWindow::LiveWindows().isEmpty());
  EXPECT_EQ(Tk().EndCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, NextHandsOn,
                         ::testing::Values(NextCase{"EnterAtOnceTakesTheFirstRow", false, -1, true,
                                                    0},
                                           NextCase{"Row2ByClickThenNext", false, 2, false, 2},
                                           NextCase{"Row1ByClickThenEnter", false, 1, true, 1},
                                           NextCase{"Row10OfAFullTable", true, 10, false, 10},
                                           NextCase{"Row9OfAFullTable", true, 9, true, 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectPageTest, ClickingOrDoubleClickingARowOnlySelectsIt) {
  DeviceListPage* p = Open();
  ClickRow(p, 2);
  EXPECT_EQ(SelectedRow(p), 2);
  QTest::mouseDClick(List(p)->viewport(), Qt::LeftButton, {},
                     List(p)->visualItemRect(List(p)->topLevelItem(1)).center());
  EXPECT_EQ(SelectedRow(p), 1);
  EXPECT_FALSE(p->IsUnloaded());
  EXPECT_EQ(List(p)->topLevelItemCount(), 3);
  EXPECT_FALSE(p->Choice());
  EXPECT_TRUE(Tk().Shown().empty());
}

TEST_F(SelectPageTest, ExitThenCancelKeepsThePageAndItsSelection) {
  DeviceListPage* p = Open();
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
  EXPECT_FALSE(p->Choice());
  // Esc is the same Exit.
  Tk().QueueAnswers({Answer::Cancel});
  QTest::keyClick(p->focusWidget(), Qt::Key_Escape);
  EXPECT_EQ(Tk().Shown().size(), 2u);
  EXPECT_FALSE(p->IsUnloaded());
}

TEST_F(SelectPageTest, ExitThenOkEndsTheProgram) {
  const std::optional<std::size_t> chosen = ChooseWith([](DeviceListPage& p) {
    Tk().QueueAnswers({Answer::Ok});
    QTest::mouseClick(p.ButtonControl("cmdExit"), Qt::LeftButton);
  });
  EXPECT_FALSE(chosen);
  EXPECT_EQ(Tk().EndCount(), 1);
  EXPECT_TRUE(FormWindow::LiveWindows().isEmpty());
  EXPECT_EQ(Tk().Shown().size(), 1u);
}

TEST_F(SelectPageTest, NextWithTheSelectionClearedAsksForAChoiceAndStays) {
  DeviceListPage* p = Open();
  ClickRow(p, 0, Qt::ControlModifier);  // Ctrl+click on the selected row clears it
  ASSERT_EQ(List(p)->selectedItems().size(), 0);
  QTest::mouseClick(p->ButtonControl("cmdNext"), Qt::LeftButton);
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_EQ(Tk().Shown()[0].text, "Please select the Orvane you want to configure.");
  EXPECT_EQ(Tk().Shown()[0].title, "TAVO");
  EXPECT_EQ(Tk().Shown()[0].buttons, Buttons::Ok);
  EXPECT_FALSE(p->IsUnloaded());
  EXPECT_FALSE(p->Choice());
  // Choosing a row then goes through.
  ClickRow(p, 1);
  QTest::mouseClick(p->ButtonControl("cmdNext"), Qt::LeftButton);
  EXPECT_TRUE(p->IsUnloaded());
  EXPECT_EQ(p->Choice(), 1u);
  EXPECT_EQ(Tk().Shown().size(), 1u);
}

TEST_F(SelectPageTest, CloseBoxAsksTheExitConfirmation) {
  const std::optional<std::size_t> chosen = ChooseWith([](DeviceListPage& p) {
    Tk().QueueAnswers({Answer::Cancel});
    p.close();
    EXPECT_FALSE(p.IsUnloaded()) << "Cancel keeps the page";
    ASSERT_EQ(Tk().Shown().size(), 1u);
    EXPECT_EQ(Tk().Shown()[0].text, T(TextId::ExitQuestion));
    EXPECT_EQ(Tk().Shown()[0].title, T(TextId::Warning));
    Tk().QueueAnswers({Answer::Ok});
    p.close();
  });
  EXPECT_FALSE(chosen);
  EXPECT_EQ(Tk().Shown().size(), 2u);
  EXPECT_EQ(Tk().EndCount(), 1) << "the run does not go on without a device";
}

TEST_F(SelectPageTest, NoDeviceGivesHeadersOnly) {
  rows.clear();
  DeviceListPage* p = Open();
  EXPECT_EQ(List(p)->columnCount(), 8);
  EXPECT_EQ(List(p)->topLevelItemCount(), 0);
  QTest::keyClick(p->focusWidget(), Qt::Key_Return);
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_EQ(Tk().Shown()[0].text, T(TextId::NoDeviceSelected));
  EXPECT_FALSE(p->IsUnloaded());
}

TEST_F(SelectPageTest, ChineseHeadersButYesAndNoStay) {
  flow.SetLanguage(Language::TraditionalChinese);
  DeviceListPage* p = Open();
  const char* chinese[] = {"No.",      "網路設定否", "主機名稱", "IP位址",
                           "硬碟名稱", "硬碟容量",   "大小總計", "使用百分比%"};
  for (int c = 0; c < 8; ++c)
    EXPECT_EQ(List(p)->headerItem()->text(c), QString::fromUtf8(chinese[c])) << c;
  EXPECT_EQ(Row(p, 0)[1], "Yes");
  EXPECT_EQ(Row(p, 2)[1], "No");
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), QString::fromUtf8("下一步"));
  EXPECT_EQ(p->LabelControl("Label1")->text(),
            Text(TextId::ChooseDeviceInstruction, Language::TraditionalChinese));
}

}  // namespace
}  // namespace orvane

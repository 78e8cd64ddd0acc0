// The introductory pages, GoToPage and ConfirmExit, driven by real key and
// mouse events on the offscreen platform.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "shell/core/wizard_state.h"
#include "shell/navigation.h"
#include "shell/page.h"
#include "shell/resources.h"
#include "tests/support/test_toolkit.h"

namespace orvane {
namespace {

using testing::ResetWizard;
using testing::Tk;

class IntroPagesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetWizard(); }
  void TearDown() override { ResetWizard(); }

  static Page* Current() {
    const auto pages = Page::LivePages();
    return pages.size() == 1 ? pages.front() : nullptr;
  }
  static QString Name(Page* p) { return p ? p->objectName() : QStringLiteral("<none>"); }
  static QString InstructionOf(Page* p) {
    return static_cast<QPlainTextEdit*>(p->ControlByName("txt1"))->toPlainText();
  }
  static void PressEnter(Page* p) {
    QTest::keyClick(p->focusWidget() ? p->focusWidget() : p, Qt::Key_Return);
  }
  static void PressEsc(Page* p) {
    QTest::keyClick(p->focusWidget() ? p->focusWidget() : p, Qt::Key_Escape);
  }
};

TEST_F(IntroPagesTest, ProgramStartsOnStepZeroInEnglish) {
  State().TextBase = 500;  // whatever was there, start-up writes 700
  Page* p = GoToPage(nullptr, PageId::Pre1);
  ASSERT_EQ(Current(), p);
  EXPECT_EQ(p->objectName(), "frmPre1");
  EXPECT_EQ(p->windowTitle(), "Orvane Configuration and Setup Utility - Step 0");
  EXPECT_TRUE(p->isVisible());
  EXPECT_EQ(State().TextBase, 700);
  EXPECT_EQ(p->LabelControl("lblVersion")->text(), "Version v2.0  2004/04/29");
  EXPECT_EQ(InstructionOf(p), Text(4));
  EXPECT_TRUE(InstructionOf(p).startsWith("Thank you for using Orvane."));
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), "Next");
  EXPECT_EQ(p->ButtonControl("cmdExit")->text(), "Exit");
  EXPECT_EQ(p->ButtonControl("cmdPrevious"), nullptr) << "Step 0 has no Previous";
  EXPECT_EQ(p->PictureControl("pic1")->PictureNumber(), 101);
  EXPECT_TRUE(p->ButtonControl("cmdNext")->isDefault());
  // Colours: slate blue page, olive instruction box with white text.
  EXPECT_EQ(p->palette().color(QPalette::Window), QColor(78, 125, 148));
  auto* txt1 = p->ControlByName("txt1");
  EXPECT_EQ(txt1->palette().color(QPalette::Base), QColor(141, 172, 34));
  EXPECT_EQ(txt1->palette().color(QPalette::Text), QColor(255, 255, 255));
  EXPECT_EQ(p->LabelControl("lblVersion")->palette().color(QPalette::Window), QColor(78, 125, 148));
  EXPECT_TRUE(Tk().Shown().empty());
}

struct StepCase {
  PageId id;
  const char* name;
  const char* caption;
  int picture;  // 0: none
  int instruction;
};

class EachIntroPage : public IntroPagesTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(EachIntroPage, LoadsItsCaptionsTextsAndColours) {
  ApplyStartupValues(State());
  const StepCase& c = GetParam();
  Page* p = GoToPage(nullptr, c.id);
  EXPECT_EQ(p->objectName(), c.name);
  EXPECT_EQ(p->windowTitle(), c.caption);
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), "Next");
  EXPECT_EQ(p->ButtonControl("cmdPrevious")->text(), "Previous");
  EXPECT_EQ(p->ButtonControl("cmdExit")->text(), "Exit");
  EXPECT_EQ(p->LabelControl("lblVersion")->text(), Text(58));
  EXPECT_EQ(p->palette().color(QPalette::Window), QColor(78, 125, 148));
  if (c.picture) {
    EXPECT_EQ(p->PictureControl("pic1")->PictureNumber(), c.picture);
  }
  if (c.id == PageId::Main0) {
    auto* option = static_cast<QRadioButton*>(p->ControlByName("Option1"));
    EXPECT_TRUE(option->isChecked());
    EXPECT_EQ(option->text(), "Express Setup:");
    EXPECT_EQ(option->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(p->LabelControl("Label1")->text(), Text(20));
  } else {
    EXPECT_EQ(InstructionOf(p), Text(c.instruction));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, EachIntroPage,
    ::testing::Values(StepCase{PageId::Pre2, "frmPre2",
                               "Orvane Configuration and Setup Utility - Step 1", 102, 5},
                      StepCase{PageId::Main, "frmMain",
                               "Orvane Configuration and Setup Utility - Step 2", 103, 6},
                      StepCase{PageId::Main0, "frmMain0",
                               "Orvane Configuration and Setup Utility - Step 3", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IntroPagesTest, EnterAndNextWalkForwardPreviousWalksBackEachPageFresh) {
  Page* p = GoToPage(nullptr, PageId::Pre1);
  PressEnter(p);
  QCoreApplication::processEvents();
  Page* step1 = Current();
  ASSERT_EQ(Name(step1), "frmPre2");
  QTest::mouseClick(step1->ButtonControl("cmdNext"), Qt::LeftButton);
  Page* step2 = Current();
  ASSERT_EQ(Name(step2), "frmMain");
  PressEnter(step2);
  Page* step3 = Current();
  ASSERT_EQ(Name(step3), "frmMain0");
  // Back: every page shown again is a new one, loaded afresh.
  static_cast<QRadioButton*>(step3->ControlByName("Option1"))->setChecked(false);
  QTest::mouseClick(step3->ButtonControl("cmdPrevious"), Qt::LeftButton);
  Page* back2 = Current();
  ASSERT_EQ(Name(back2), "frmMain");
  static_cast<QPlainTextEdit*>(back2->ControlByName("txt1"))->setPlainText("scribbled");
  QTest::mouseClick(back2->ButtonControl("cmdNext"), Qt::LeftButton);
  Page* again3 = Current();
  ASSERT_EQ(Name(again3), "frmMain0");
  EXPECT_TRUE(static_cast<QRadioButton*>(again3->ControlByName("Option1"))->isChecked());
  QTest::mouseClick(again3->ButtonControl("cmdPrevious"), Qt::LeftButton);
  EXPECT_EQ(InstructionOf(Current()), Text(6));
  EXPECT_TRUE(Tk().Shown().empty());
  EXPECT_EQ(Tk().EndCount(), 0);
}

TEST_F(IntroPagesTest, GoingBackToStepZeroRunsTheStartUpAgain) {
  GoToPage(nullptr, PageId::Pre1);
  QTest::mouseClick(Current()->ButtonControl("cmdNext"), Qt::LeftButton);
  ASSERT_EQ(Name(Current()), "frmPre2");
  State().TextBase = 500;
  State().PageBackColor = 0;
  QTest::mouseClick(Current()->ButtonControl("cmdPrevious"), Qt::LeftButton);
  ASSERT_EQ(Name(Current()), "frmPre1");
  EXPECT_EQ(State().TextBase, 700);
  EXPECT_EQ(State().PageBackColor, kSlateBlue);
  EXPECT_EQ(Current()->ButtonControl("cmdNext")->text(), "Next");
}

TEST_F(IntroPagesTest, ChineseBaseShowsTheChineseEntries) {
  ApplyStartupValues(State());
  State().TextBase = 500;
  Page* p = GoToPage(nullptr, PageId::Pre2);
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), QString::fromUtf8("下一步"));
  EXPECT_EQ(p->ButtonControl("cmdExit")->text(), QString::fromUtf8("結束程式"));
  EXPECT_EQ(p->LabelControl("lblVersion")->text(), QString::fromUtf8("版本 v2.0  2004/04/29"));
  // The window caption is fixed in the page, not taken from the table.
  EXPECT_EQ(p->windowTitle(), "Orvane Configuration and Setup Utility - Step 1");
}

TEST_F(IntroPagesTest, ExitThenCancelKeepsPageTextsAndFocus) {
  Page* p = GoToPage(nullptr, PageId::Main);
  QWidget* focusBefore = p->focusWidget();
  ASSERT_NE(focusBefore, nullptr);
  Tk().QueueAnswers({Answer::Cancel});
  PressEsc(p);
  ASSERT_EQ(Tk().Shown().size(), 1u);
  const auto& box = Tk().Shown()[0];
  EXPECT_EQ(box.text, "Are you sure of exiting program?");
  EXPECT_EQ(box.title, "Warning");
  EXPECT_EQ(box.buttons, Buttons::OkCancel);
  EXPECT_EQ(box.icon, Icon::None);
  EXPECT_EQ(Current(), p);
  EXPECT_FALSE(p->IsUnloaded());
  EXPECT_EQ(p->focusWidget(), focusBefore);
  EXPECT_EQ(InstructionOf(p), Text(6));
  EXPECT_EQ(Tk().EndCount(), 0);
}

TEST_F(IntroPagesTest, EscThenOkEndsWithNoFurtherWindow) {
  for (PageId id : {PageId::Pre1, PageId::Pre2, PageId::Main, PageId::Main0}) {
    ResetWizard();
    Page* p = GoToPage(nullptr, id);
    Tk().QueueAnswers({Answer::Ok});
    PressEsc(p);
    EXPECT_EQ(Tk().Shown().size(), 1u) << Name(p).toStdString();
    EXPECT_EQ(Tk().EndCount(), 1);
    EXPECT_TRUE(Page::LivePages().isEmpty());
    for (const auto& b : Tk().Shown()) EXPECT_FALSE(b.afterEnd);
  }
}

TEST_F(IntroPagesTest, CloseBoxEndsTheProgramWithoutAsking) {
  Page* p = GoToPage(nullptr, PageId::Pre2);
  p->close();
  EXPECT_TRUE(Tk().Shown().empty());
  EXPECT_EQ(Tk().EndCount(), 1);
  EXPECT_TRUE(Page::LivePages().isEmpty());
}

TEST_F(IntroPagesTest, StepsZeroToThreeShareOneClientSize) {
  QSize size;
  for (PageId id : {PageId::Pre1, PageId::Pre2, PageId::Main, PageId::Main0, PageId::Main2}) {
    ResetWizard();
    ApplyStartupValues(State());
    Page* p = CreatePage(id);
    if (size.isEmpty()) size = p->size();
    EXPECT_EQ(p->size(), QSize(654, 549)) << Name(p).toStdString();
    p->Unload();
  }
}

}  // namespace
}  // namespace orvane

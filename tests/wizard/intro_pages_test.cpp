// The introductory pages, GoToPage and ConfirmExit, driven by real key and
// mouse events on the offscreen platform.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "tests/support/test_toolkit.h"
#include "tests/support/wizard_test.h"
#include "ui/form_window.h"
#include "wizard/page_flow.h"
#include "wizard/theme.h"

namespace orvane {
namespace {

using testing::ResetWindows;
using testing::T;
using testing::Tk;

class IntroPagesTest : public testing::WizardTest {
 protected:
  static FormWindow* Current() {
    const auto pages = FormWindow::LiveWindows();
    return pages.size() == 1 ? pages.front() : nullptr;
  }
  static QString Name(FormWindow* p) { return p ? p->objectName() : QStringLiteral("<none>"); }
  static QString InstructionOf(FormWindow* p) {
    return static_cast<QPlainTextEdit*>(p->ControlByName("txt1"))->toPlainText();
  }
  static void PressEnter(FormWindow* p) {
    QTest::keyClick(p->focusWidget() ? p->focusWidget() : p, Qt::Key_Return);
  }
  static void PressEsc(FormWindow* p) {
    QTest::keyClick(p->focusWidget() ? p->focusWidget() : p, Qt::Key_Escape);
  }
};

TEST_F(IntroPagesTest, ProgramStartsOnStepZeroInEnglish) {
  flow.SetLanguage(Language::TraditionalChinese);  // whatever was there, Step 0 makes it English
  FormWindow* p = flow.GoTo(PageId::Welcome);
  ASSERT_EQ(Current(), p);
  EXPECT_EQ(p->objectName(), "frmPre1");
  EXPECT_EQ(p->windowTitle(), "Orvane Configuration and Setup Utility - Step 0");
  EXPECT_TRUE(p->isVisible());
  EXPECT_EQ(flow.language(), Language::English);
  EXPECT_EQ(p->LabelControl("lblVersion")->text(), "Version v2.0  2004/04/29");
  EXPECT_EQ(InstructionOf(p), T(TextId::WelcomeInstruction));
  EXPECT_TRUE(InstructionOf(p).startsWith("Thank you for using Orvane."));
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), "Next");
  EXPECT_EQ(p->ButtonControl("cmdExit")->text(), "Exit");
  EXPECT_EQ(p->ButtonControl("cmdPrevious"), nullptr) << "Step 0 has no Previous";
  EXPECT_EQ(p->PictureControl("pic1")->ProgramPicture(), Picture::Welcome);
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
  Picture picture;
  TextId instruction;
};

class EachIntroPage : public IntroPagesTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(EachIntroPage, LoadsItsCaptionsTextsAndColours) {
  const StepCase& c = GetParam();
  FormWindow* p = flow.GoTo(c.id);
  EXPECT_EQ(p->objectName(), c.name);
  EXPECT_EQ(p->windowTitle(), c.caption);
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), "Next");
  EXPECT_EQ(p->ButtonControl("cmdPrevious")->text(), "Previous");
  EXPECT_EQ(p->ButtonControl("cmdExit")->text(), "Exit");
  EXPECT_EQ(p->LabelControl("lblVersion")->text(), T(TextId::Version));
  EXPECT_EQ(p->palette().color(QPalette::Window), QColor(78, 125, 148));
  if (c.picture != Picture::None) {
    EXPECT_EQ(p->PictureControl("pic1")->ProgramPicture(), c.picture);
  }
  if (c.id == PageId::ScanStart) {
    auto* option = static_cast<QRadioButton*>(p->ControlByName("Option1"));
    EXPECT_TRUE(option->isChecked());
    EXPECT_EQ(option->text(), "Express Setup:");
    EXPECT_EQ(option->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(p->LabelControl("Label1")->text(), T(TextId::ScanAnnouncement));
  } else {
    EXPECT_EQ(InstructionOf(p), T(c.instruction));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, EachIntroPage,
    ::testing::Values(
        StepCase{PageId::PowerOn, "frmPre2", "Orvane Configuration and Setup Utility - Step 1",
                 Picture::PowerOn, TextId::PowerOnInstruction},
        StepCase{PageId::Cabling, "frmMain", "Orvane Configuration and Setup Utility - Step 2",
                 Picture::Cabling, TextId::CablingInstruction},
        StepCase{PageId::ScanStart, "frmMain0", "Orvane Configuration and Setup Utility - Step 3",
                 Picture::None, TextId::ScanAnnouncement}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IntroPagesTest, EnterAndNextWalkForwardPreviousWalksBackEachPageFresh) {
  FormWindow* p = flow.GoTo(PageId::Welcome);
  PressEnter(p);
  QCoreApplication::processEvents();
  FormWindow* step1 = Current();
  ASSERT_EQ(Name(step1), "frmPre2");
  QTest::mouseClick(step1->ButtonControl("cmdNext"), Qt::LeftButton);
  FormWindow* step2 = Current();
  ASSERT_EQ(Name(step2), "frmMain");
  PressEnter(step2);
  FormWindow* step3 = Current();
  ASSERT_EQ(Name(step3), "frmMain0");
  // Back: every page shown again is a new one, loaded afresh.
  static_cast<QRadioButton*>(step3->ControlByName("Option1"))->setChecked(false);
  QTest::mouseClick(step3->ButtonControl("cmdPrevious"), Qt::LeftButton);
  FormWindow* back2 = Current();
  ASSERT_EQ(Name(back2), "frmMain");
  static_cast<QPlainTextEdit*>(back2->ControlByName("txt1"))->setPlainText("scribbled");
  QTest::mouseClick(back2->ButtonControl("cmdNext"), Qt::LeftButton);
  FormWindow* again3 = Current();
  ASSERT_EQ(Name(again3), "frmMain0");
  EXPECT_TRUE(static_cast<QRadioButton*>(again3->ControlByName("Option1"))->isChecked());
  QTest::mouseClick(again3->ButtonControl("cmdPrevious"), Qt::LeftButton);
  EXPECT_EQ(InstructionOf(Current()), T(TextId::CablingInstruction));
  EXPECT_TRUE(Tk().Shown().empty());
  EXPECT_EQ(Tk().EndCount(), 0);
}

TEST_F(IntroPagesTest, GoingBackToStepZeroRunsTheStartUpAgain) {
  flow.GoTo(PageId::Welcome);
  QTest::mouseClick(Current()->ButtonControl("cmdNext"), Qt::LeftButton);
  ASSERT_EQ(Name(Current()), "frmPre2");
  flow.SetLanguage(Language::TraditionalChinese);
  QTest::mouseClick(Current()->ButtonControl("cmdPrevious"), Qt::LeftButton);
  ASSERT_EQ(Name(Current()), "frmPre1");
  EXPECT_EQ(flow.language(), Language::English);
  EXPECT_EQ(Current()->palette().color(QPalette::Window), QColor(78, 125, 148));
  EXPECT_EQ(Current()->ButtonControl("cmdNext")->text(), "Next");
}

TEST_F(IntroPagesTest, ChineseBaseShowsTheChineseEntries) {
  flow.SetLanguage(Language::TraditionalChinese);
  FormWindow* p = flow.GoTo(PageId::PowerOn);
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), QString::fromUtf8("下一步"));
  EXPECT_EQ(p->ButtonControl("cmdExit")->text(), QString::fromUtf8("結束程式"));
  EXPECT_EQ(p->LabelControl("lblVersion")->text(), QString::fromUtf8("版本 v2.0  2004/04/29"));
  // The window caption is fixed in the page, not taken from the table.
  EXPECT_EQ(p->windowTitle(), "Orvane Configuration and Setup Utility - Step 1");
}

TEST_F(IntroPagesTest, ExitThenCancelKeepsPageTextsAndFocus) {
  FormWindow* p = flow.GoTo(PageId::Cabling);
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
  EXPECT_EQ(InstructionOf(p), T(TextId::CablingInstruction));
  EXPECT_EQ(Tk().EndCount(), 0);
}

TEST_F(IntroPagesTest, EscThenOkEndsWithNoFurtherWindow) {
  for (PageId id : {PageId::Welcome, PageId::PowerOn, PageId::Cabling, PageId::ScanStart}) {
    ResetWindows();
    FormWindow* p = flow.GoTo(id);
    Tk().QueueAnswers({Answer::Ok});
    PressEsc(p);
    EXPECT_EQ(Tk().Shown().size(), 1u) << Name(p).toStdString();
    EXPECT_EQ(Tk().EndCount(), 1);
    EXPECT_TRUE(FormWindow::LiveWindows().isEmpty());
    for (const auto& b : Tk().Shown()) EXPECT_FALSE(b.afterEnd);
  }
}

TEST_F(IntroPagesTest, CloseBoxEndsTheProgramWithoutAsking) {
  FormWindow* p = flow.GoTo(PageId::PowerOn);
  p->close();
  EXPECT_TRUE(Tk().Shown().empty());
  EXPECT_EQ(Tk().EndCount(), 1);
  EXPECT_TRUE(FormWindow::LiveWindows().isEmpty());
}

TEST_F(IntroPagesTest, StepsZeroToThreeShareOneClientSize) {
  QSize size;
  for (PageId id :
       {PageId::Welcome, PageId::PowerOn, PageId::Cabling, PageId::ScanStart, PageId::SetupRun}) {
    ResetWindows();
    FormWindow* p = flow.Create(id);
    if (size.isEmpty()) size = p->size();
    EXPECT_EQ(p->size(), QSize(654, 549)) << Name(p).toStdString();
    p->Unload();
  }
}

}  // namespace
}  // namespace orvane

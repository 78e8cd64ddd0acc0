// Every window against the layout it was drawn to: client size, each control's
// kind, place and size in pixels, tab order, font, default and cancel role and
// word wrap. The expected numbers are typed here again, in pixels, from the
// window layouts, and are not read from wizard/layouts.cpp: a slip in either
// copy shows up as a difference.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTreeWidget>
#include <cstdlib>

#include "tests/wizard/layout_test_support.h"
#include "ui/resources.h"

namespace orvane {
namespace {

using namespace layout_test;

// Steps 0, 1 and 2 share these places; only the tab numbers differ.
std::vector<Expected> IntroRows(int txt1, int pic1, int previous, int next, int exit, int version) {
  std::vector<Expected> rows = {
      {"pic1", K::Picture, 0, 0, 657, 353, pic1},
      {"txt1", K::TextBox, 0, 352, 657, 137, txt1, F::Sans12, R::None, W::Wraps},
      {"lblVersion", K::Label, 8, 520, 225, 17, version, F::Verdana8},
      {"cmdNext", K::Button, 472, 504, 81, 33, next, F::Window, R::Default},
      {"cmdExit", K::Button, 568, 504, 81, 33, exit, F::Window, R::Cancel},
  };
  if (previous >= 0) rows.push_back({"cmdPrevious", K::Button, 376, 504, 81, 33, previous});
  return rows;
}

const std::vector<ExpectedWindow>& Windows() {
  static const std::vector<ExpectedWindow> windows = {
      {Window::Pre1, "frmPre1", "Orvane Configuration and Setup Utility - Step 0", 654, 549,
       IntroRows(0, 1, -1, 2, 3, 4)},
      {Window::Pre2, "frmPre2", "Orvane Configuration and Setup Utility - Step 1", 654, 549,
       IntroRows(1, 0, 2, 3, 4, 5)},
      {Window::Main, "frmMain", "Orvane Configuration and Setup Utility - Step 2", 654, 549,
       IntroRows(0, 1, 4, 2, 3, 5)},
      {Window::Main0,
       "frmMain0",
       "Orvane Configuration and Setup Utility - Step 3",
       654,
       549,
       {
           {"Option1", K::Option, 32, 152, 337, 25, 0, F::Sans12Bold},
           {"Label1", K::Label, 48, 192, 561, 81, 2, F::Sans12, R::None, W::Wraps},
           {"cmdPrevious", K::Button, 368, 504, 81, 33, 5},
           {"cmdNext", K::Button, 464, 504, 81, 33, 4, F::Window, R::Default},
           {"cmdExit", K::Button, 560, 504, 81, 33, 6, F::Window, R::Cancel},
           {"lblVersion", K::Label, 8, 520, 225, 17, 7, F::Verdana8},
       }},
      {Window::Main2,
       "frmMain2",
       "Orvane Configuration and Setup Utility - Step 4",
       654,
       549,
       {
           {"pic1", K::Picture, 16, 24, 49, 49, 8},
           {"Label1_1", K::Label, 96, 40, 521, 65, 0, F::Sans12},
           {"pic2", K::Picture, 16, 120, 49, 49, 9},
           {"Label2_1", K::Label, 96, 136, 529, 65, 1, F::Sans12},
           {"pic3", K::Picture, 16, 216, 49, 49, 10},
           {"Label3_1", K::Label, 96, 232, 529, 65, 2, F::Sans12},
           {"pic4", K::Picture, 16, 312, 49, 49, 11},
           {"Label4_1", K::Label, 96, 328, 537, 65, 3, F::Sans12},
           {"Label5", K::Label, 8, 416, 121, 25, 5, F::Sans12},
           {"lblRun", K::Label, 136, 416, 489, 65, 4, F::Sans12, R::None, W::Wraps},
           {"cmdPrevious", K::Button, 464, 504, 81, 33, 7, F::Window, R::Default},
           {"cmdExit", K::Button, 560, 504, 81, 33, 6, F::Window, R::Cancel},
           {"lblVersion", K::Label, 8, 520, 225, 17, 12, F::Verdana8},
       }},
      {Window::Select,
       "frmSelect",
       "Orvane Configuration and Setup Utility - Select Orvane to configure",
       608,
       376,
       {
           {"ListView1", K::List, 0, 0, 609, 273, 0, F::Arial9},
           {"Label1", K::Label, 8, 288, 577, 33, 1, F::MingLiU12},
           {"cmdNext", K::Button, 416, 336, 89, 33, 2, F::Window, R::Default},
           {"cmdExit", K::Button, 520, 336, 81, 33, 3, F::Window, R::Cancel},
           {"lblVersion", K::Label, 8, 344, 225, 17, 4, F::Verdana8},
       }},
      {Window::ConfigSimple,
       "frmConfigSimple",
       "Orvane Configuration and Setup Utility - Config",
       345,
       264,
       {
           {"Label1", K::Label, 32, 16, 105, 25, 6, F::Sans12},
           {"txtUsername", K::TextBox, 144, 16, 177, 28, 1, F::Sans12, R::None, W::SingleLine},
           {"Label2", K::Label, 32, 56, 105, 25, 5, F::Sans12},
           {"txtPassword", K::TextBox, 144, 56, 177, 28, 0, F::Sans12, R::None, W::SingleLine},
           {"Label3", K::Label, 8, 112, 329, 97, 4, F::Sans12, R::None, W::Wraps},
           {"cmdNext", K::Button, 152, 224, 81, 33, 3, F::Window, R::Default},
           {"cmdExit", K::Button, 248, 224, 89, 33, 2, F::Window, R::Cancel},
       }},
  };
  return windows;
}

class LayoutTest : public LayoutFixture, public ::testing::WithParamInterface<ExpectedWindow> {};

TEST_P(LayoutTest, ClientSizeCaptionFrameAndIcon) {
  const ExpectedWindow& want = GetParam();
  FormWindow* page = Open(want.window);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->objectName(), want.name);
  EXPECT_EQ(page->windowTitle(), want.caption);
  EXPECT_EQ(page->size(), QSize(want.width, want.height));
  // A fixed frame: the window can be neither resized nor maximised.
  EXPECT_EQ(page->minimumSize(), page->maximumSize());
  EXPECT_FALSE(page->windowFlags() & Qt::WindowMaximizeButtonHint);
  const QList<QSize> iconSizes = page->windowIcon().availableSizes();
  EXPECT_TRUE(iconSizes.contains(QSize(16, 16)) && iconSizes.contains(QSize(32, 32)));
  // Opened centred on the screen: the margins left and right (above and
  // below) of the whole window differ by a pixel at most. (At 200% the test
  // screen is smaller than the window, which the platform then shifts.)
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect outer = page->frameGeometry();
  if (area.contains(outer)) {
    EXPECT_LE(std::abs((outer.left() - area.left()) - (area.right() - outer.right())), 1);
    EXPECT_LE(std::abs((outer.top() - area.top()) - (area.bottom() - outer.bottom())), 1);
  }
}

TEST_P(LayoutTest, EveryControlHasItsKindPlaceSizeAndFont) {
  const ExpectedWindow& want = GetParam();
  FormWindow* page = Open(want.window);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Layout().controls.size(), want.controls.size()) << "controls of " << want.name;
  for (const Expected& c : want.controls) {
    SCOPED_TRACE(std::string(want.name) + "." + c.name);
    QWidget* w = page->ControlByName(c.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(KindOf(w), c.kind);
    EXPECT_EQ(w->geometry(), QRect(c.left, c.top, c.width, c.height));
    const NamedFont font = FontNamed(c.font);
    EXPECT_EQ(w->font().families().value(0), font.family);
    EXPECT_DOUBLE_EQ(w->font().pointSizeF(), font.points);
    EXPECT_EQ(w->font().bold(), font.bold);
    if (c.font == F::Window) {
      EXPECT_EQ(w->font(), page->font()) << "no font of its own";
    }
    if (auto* b = qobject_cast<QPushButton*>(w)) {
      EXPECT_EQ(b->isDefault(), c.role == R::Default);
      EXPECT_FALSE(b->autoDefault()) << "only the default button answers Enter";
    }
    if (auto* label = qobject_cast<QLabel*>(w); label && c.kind == K::Label) {
      // Labels wrap their captions within their width, stated or not.
      EXPECT_TRUE(label->wordWrap());
    }
    if (c.wrap == W::Wraps && c.kind == K::TextBox) {
      auto* box = qobject_cast<QPlainTextEdit*>(w);
      ASSERT_NE(box, nullptr) << "a multi-line text box";
      EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
      EXPECT_TRUE(box->isReadOnly());
    }
    if (c.wrap == W::SingleLine) {
      auto* line = qobject_cast<QLineEdit*>(w);
      ASSERT_NE(line, nullptr) << "a single-line text box";
      EXPECT_EQ(line->echoMode(), QLineEdit::Normal) << "characters shown as typed";
    }
  }
}

TEST_P(LayoutTest, TabOrderFollowsTheNumbersAndSkipsLabels) {
  const ExpectedWindow& want = GetParam();
  FormWindow* page = Open(want.window);
  ASSERT_NE(page, nullptr);
  const QStringList chain = ExpectedChain(want);
  ASSERT_FALSE(chain.isEmpty());
  for (const Expected& c : want.controls) {
    QWidget* w = page->ControlByName(c.name);
    ASSERT_NE(w, nullptr);
    if (c.kind == K::Label)
      EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << c.name;
    else
      EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << c.name;
  }
  EXPECT_EQ(FocusChain(page, chain.front()), chain);
}

TEST_P(LayoutTest, TabKeyWalksTheChainFromTheFirstControl) {
  const ExpectedWindow& want = GetParam();
  FormWindow* page = Open(want.window);
  ASSERT_NE(page, nullptr);
  EnableAllButtons(page);
  const QStringList chain = ExpectedChain(want);
  // Step 4 loads with both its buttons disabled, so focus starts on pic1
  // there; elsewhere on the control numbered first.
  const QString first = want.window == Window::Main2 ? QStringLiteral("pic1") : chain.front();
  EXPECT_EQ(FocusName(page), first);
  QStringList walked;
  const qsizetype start = chain.indexOf(first);
  for (qsizetype i = 0; i < chain.size(); ++i) {
    walked << FocusName(page);
    PressKey(page, Qt::Key_Tab);
  }
  EXPECT_EQ(walked, chain.mid(start) + chain.first(start));
  EXPECT_EQ(FocusName(page), first) << "Tab wraps round to where it started";
}

TEST_P(LayoutTest, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
  const ExpectedWindow& want = GetParam();
  for (const R role : {R::Default, R::Cancel}) {
    FormWindow* page = Open(want.window);
    ASSERT_NE(page, nullptr);
    // Step 4 enables Previous and Exit once a run has ended; Enter then
    // presses Previous, as the page has no Next.
    EnableAllButtons(page);
    const char* expected = nullptr;
    for (const Expected& c : want.controls)
      if (c.role == role) expected = c.name;
    ASSERT_NE(expected, nullptr);
    const QString pressed =
        PressAndSeeWhichButton(page, role == R::Default ? Qt::Key_Return : Qt::Key_Escape);
    EXPECT_EQ(pressed, expected) << want.name << (role == R::Default ? " Enter" : " Esc");
    Close();
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, LayoutTest, ::testing::ValuesIn(Windows()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayoutFixture, StepsZeroToFourShareOneClientSizeAndTheOthersAreSmaller) {
  QSize step;
  for (const ExpectedWindow& w : Windows()) {
    FormWindow* page = Open(w.window);
    ASSERT_NE(page, nullptr);
    if (w.window == Window::Pre1) step = page->size();
    if (w.window <= Window::Main2)
      EXPECT_EQ(page->size(), step) << w.name;
    else
      EXPECT_TRUE(page->width() < step.width() && page->height() < step.height()) << w.name;
    Close();
  }
}

TEST_F(LayoutFixture, StatusMarksFitTheirBoxesWithoutDistortion) {
  FormWindow* page = Open(Window::Main2);
  ASSERT_NE(page, nullptr);
  for (const Picture mark : {Picture::MarkInProgress, Picture::MarkDone, Picture::MarkFailed}) {
    PictureBox* box = page->PictureControl("pic2");
    box->SetProgramPicture(mark);
    const QImage& shown = box->Shown();
    const qreal ratio = shown.devicePixelRatio();
    const QSizeF logical = QSizeF(shown.size()) / ratio;
    SCOPED_TRACE(static_cast<int>(mark));
    EXPECT_LE(logical.width(), 49.0);
    EXPECT_LE(logical.height(), 49.0);
    EXPECT_GE(logical.height(), 48.0) << "as large as the box allows";
    // The artwork is 57 x 60; width over height stays within a pixel of it.
    EXPECT_NEAR(shown.width() * 60.0 / shown.height(), 57.0, 60.0 / shown.height());
    EXPECT_EQ(ratio, page->devicePixelRatioF()) << "drawn for the screen's own pixels";
    EXPECT_TRUE(box->alignment() & Qt::AlignHCenter);
  }
}

TEST_F(LayoutFixture, StepPicturesAreShownUnscaledAtTheTopLeft) {
  for (const Window w : {Window::Pre1, Window::Pre2, Window::Main}) {
    FormWindow* page = Open(w);
    ASSERT_NE(page, nullptr);
    PictureBox* box = page->PictureControl("pic1");
    const QImage& shown = box->Shown();
    EXPECT_EQ(shown.size(), QSize(652, 348));
    EXPECT_TRUE(box->alignment() & Qt::AlignTop);
    // Drawn from the loaded picture itself, not from a copy of it.
    EXPECT_EQ(shown.constBits(), LoadBitmap(box->ProgramPicture()).constBits());
    // And what the screen shows there is the picture: pixel for pixel at 100%,
    // smoothly scaled at other ratios (within a level on average; a picture one
    // pixel out of place is off by two).
    const QImage screen =
        page->grab(QRect(0, 0, 652, 348)).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected =
        shown.scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    double difference = 0;
    for (int y = 0; y < screen.height(); ++y)
      for (int x = 0; x < screen.width(); ++x) {
        const QRgb a = screen.pixel(x, y), b = expected.pixel(x, y);
        difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                      std::abs(qBlue(a) - qBlue(b));
      }
    difference /= 3.0 * screen.width() * screen.height();
    if (screen.devicePixelRatio() == 1.0)
      EXPECT_EQ(difference, 0.0);
    else
      EXPECT_LT(difference, 1.0) << "at a device pixel ratio of " << screen.devicePixelRatio();
    Close();
  }
}

// What the screen shows at a spot of a control, after the page has painted.
QColor ShownColour(FormWindow* page, const char* control, QPoint spot) {
  QWidget* w = page->ControlByName(control);
  // Style and palette changes reach inner widgets (the text box's viewport)
  // through posted events.
  QCoreApplication::processEvents();
  const QImage shot = page->grab().toImage();
  const qreal ratio = shot.devicePixelRatio();
  const QPoint p = w->mapTo(page, spot);
  return shot.pixelColor(qRound(p.x() * ratio), qRound(p.y() * ratio));
}

TEST_F(LayoutFixture, ControlsShowTheirColoursOnScreen) {
  const QColor slate(78, 125, 148), olive(141, 172, 34);
  struct Spot {
    Window window;
    const char* control;
    QPoint offsetFromBottomRight;
    QColor colour;
  };
  const Spot spots[] = {
      {Window::Pre1, "txt1", {12, 12}, olive},
      {Window::Pre1, "lblVersion", {3, 3}, slate},
      {Window::Main0, "Option1", {3, 3}, slate},  // not the grey of a button face
      {Window::Main0, "Label1", {3, 3}, slate},
      {Window::Main2, "lblRun", {3, 3}, olive},
      {Window::Main2, "pic4", {3, 3}, slate},
      {Window::Select, "Label1", {3, 3}, slate},
      {Window::ConfigSimple, "Label3", {3, 3}, slate},
      // The page's colour is not the list's nor the text boxes': they stay white.
      {Window::Select, "ListView1", {20, 20}, Qt::white},
      {Window::ConfigSimple, "txtUsername", {6, 6}, Qt::white},
  };
  for (const Spot& s : spots) {
    FormWindow* page = Open(s.window);
    ASSERT_NE(page, nullptr);
    const QWidget* w = page->ControlByName(s.control);
    const QPoint spot(w->width() - s.offsetFromBottomRight.x(),
                      w->height() - s.offsetFromBottomRight.y());
    EXPECT_EQ(ShownColour(page, s.control, spot).name(), s.colour.name())
        << page->objectName().toStdString() << "." << s.control;
  }
}

}  // namespace
}  // namespace orvane

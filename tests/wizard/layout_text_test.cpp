// The texts fit the controls that show them, in both languages, with the faces
// that stand in for the Windows fonts; and the Chinese entries draw real
// glyphs, not boxes.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextLayout>

#include "tests/wizard/layout_test_support.h"
#include "ui/resources.h"

namespace orvane {
namespace {

using namespace layout_test;

// Which texts each control shows at one time or another.
struct Shown {
  Window window;
  const char* control;
  std::vector<int> texts;
  const char* suffix = "";  // appended to each text, as the program does
};

const std::vector<Shown>& ShownTexts() {
  static const std::vector<Shown> shown = {
      {Window::Pre1, "txt1", {4}},
      {Window::Pre1, "cmdNext", {1}},
      {Window::Pre1, "cmdExit", {3}},
      {Window::Pre1, "lblVersion", {58}},
      {Window::Pre2, "txt1", {5}},
      {Window::Pre2, "cmdPrevious", {2}},
      {Window::Main, "txt1", {6}},
      {Window::Main0, "Option1", {18}},
      {Window::Main0, "Label1", {20}},
      {Window::Main0, "cmdPrevious", {2}},
      {Window::Main2, "Label1_1", {29}},
      {Window::Main2, "Label2_1", {30}},
      {Window::Main2, "Label3_1", {31}},
      {Window::Main2, "Label4_1", {32}},
      {Window::Main2, "Label5", {28}},
      {Window::Main2, "lblRun", {33, 34, 35, 37, 38, 39, 42, 43, 45, 47, 48, 49, 54}},
      // TextId::AddressLocated is followed directly by the address found.
      {Window::Main2, "lblRun", {41}, "192.168.100.200"},
      {Window::Main2, "cmdPrevious", {2}},
      {Window::Main2, "lblVersion", {58}},
      {Window::Select, "Label1", {9}},
      {Window::Select, "cmdNext", {1}},
      {Window::Select, "lblVersion", {58}},
      {Window::ConfigSimple, "Label1", {21}},
      {Window::ConfigSimple, "Label2", {22}},
      {Window::ConfigSimple, "Label3", {23}},
      {Window::ConfigSimple, "cmdNext", {1}},
      {Window::ConfigSimple, "cmdExit", {25}},
  };
  return shown;
}

// Pixels a button's frame and padding take round its caption.
constexpr int kButtonPadding = 8;

// Why the text does not fit the control, or "" when it does.
std::string Misfit(QWidget* w, const QString& text) {
  const QFontMetrics fm(w->font());
  const QRect room = w->contentsRect();
  if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
    box->setPlainText(text);
    QCoreApplication::processEvents();
    if (box->verticalScrollBar()->maximum() > 0) return "scrolls";
    return {};
  }
  if (auto* option = qobject_cast<QRadioButton*>(w)) {
    // The caption stands beside the round mark, centred in the height.
    option->setText(text);
    const int width = option->sizeHint().width();
    const int height = fm.boundingRect(QRect(0, 0, 10000, 10000), 0, text).height();
    if (width > room.width() || height > room.height())
      return "needs " + std::to_string(width) + " x " + std::to_string(height);
    return {};
  }
  if (qobject_cast<QPushButton*>(w)) {
    const int width = fm.horizontalAdvance(text) + 2 * kButtonPadding;
    if (width > room.width() || fm.height() + kButtonPadding > room.height())
      return "caption needs " + std::to_string(width) + " pixels";
    return {};
  }
  // Labels wrap at word boundaries; a word wider than the label would stick
  // out of it, and lines below its bottom are cut off.
  const QRect need =
      fm.boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap | Qt::AlignLeft, text);
  if (need.width() > room.width() || need.height() > room.height())
    return "needs " + std::to_string(need.width()) + " x " + std::to_string(need.height());
  return {};
}

class TextFitTest : public LayoutFixture, public ::testing::WithParamInterface<int> {};

TEST_P(TextFitTest, EveryTextFitsItsControl) {
  const int base = GetParam();
  Window open = Window::ConfigSimple;
  FormWindow* page = nullptr;
  for (const Shown& s : ShownTexts()) {
    if (!page || s.window != open) {
      page = Open(s.window);
      open = s.window;
      // The texts below are looked up here, so each page is measured in the
      // language under test, whatever its load set.
    }
    ASSERT_NE(page, nullptr);
    QWidget* w = page->ControlByName(s.control);
    ASSERT_NE(w, nullptr) << s.control;
    for (int n : s.texts) {
      const QString text =
          Text(static_cast<TextId>(n), static_cast<Language>(base)) + QString::fromLatin1(s.suffix);
      EXPECT_EQ(Misfit(w, text), "")
          << page->objectName().toStdString() << "." << s.control << " text " << n << " at base "
          << base << ": " << text.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, TextFitTest, ::testing::Values(700, 500), [](const auto& info) {
  return info.param == 700 ? std::string("English") : std::string("Chinese");
});

// Glyph 0 is the font's "missing" box.
TEST_F(LayoutFixture, ChineseTextsDrawRealGlyphsInTraditionalFaces) {
  Window open = Window::ConfigSimple;
  FormWindow* page = nullptr;
  for (const Shown& s : ShownTexts()) {
    if (!page || s.window != open) {
      page = Open(s.window);
      open = s.window;
    }
    ASSERT_NE(page, nullptr);
    const QFont font = page->ControlByName(s.control)->font();
    for (int n : s.texts) {
      const QString text = Text(static_cast<TextId>(n), Language::TraditionalChinese);
      QTextLayout layout(text, font);
      layout.beginLayout();
      layout.createLine().setLineWidth(100000);
      layout.endLayout();
      int glyphs = 0;
      for (const QGlyphRun& run : layout.glyphRuns()) {
        const QString family = run.rawFont().familyName();
        for (quint32 glyph : run.glyphIndexes()) {
          EXPECT_NE(glyph, 0u) << s.control << " text " << n << " in " << family.toStdString();
          ++glyphs;
        }
        // A Simplified or Japanese face would draw some characters in forms
        // a Taiwanese reader does not use.
        if (family.contains("CJK")) {
          EXPECT_TRUE(family.contains("TC"))
              << s.control << " text " << n << " drawn in " << family.toStdString();
        }
      }
      EXPECT_GT(glyphs, 0) << s.control << " text " << n;
    }
  }
}

// The stand-ins keep the layout's point sizes, whatever face was found.
TEST_F(LayoutFixture, StandInFacesKeepThePointSizes) {
  const std::pair<FontFace, double> sizes[] = {
      {FontFace::Window, 8.25},   {FontFace::SansSerif12, 12}, {FontFace::SansSerif12Bold, 12},
      {FontFace::Verdana8, 8.25}, {FontFace::Arial9, 9},       {FontFace::MingLiU12, 12},
  };
  for (const auto& [face, points] : sizes) {
    const QFontInfo info(FontFor(face));
    EXPECT_NEAR(info.pointSizeF(), points, 0.4) << info.family().toStdString();
  }
}

}  // namespace
}  // namespace orvane

#pragma once
// Helpers of the layout tests: the test's own vocabulary for a layout row, a
// fixture that opens any of the seven windows with nothing real behind it, and
// the focus and key helpers the tab-order and Enter/Esc checks share.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>
#include <vector>

#include "ui/form_window.h"
#include "wizard/page_flow.h"

namespace orvane::testing {
struct TestWizard;
}

namespace orvane::layout_test {

// The test's own names, apart from the program's layout.h, so that a wrong
// kind or font there cannot slip through by being compared with itself.
enum class K { Picture, TextBox, Label, Button, Option, List };
enum class F { Window, Sans12, Sans12Bold, Verdana8, Arial9, MingLiU12 };
enum class R { None, Default, Cancel };
enum class W { Unstated, Wraps, SingleLine };

// One row of a window's layout, in pixels.
struct Expected {
  const char* name;
  K kind;
  int left, top, width, height;
  int tab;
  F font = F::Window;
  R role = R::None;
  W wrap = W::Unstated;
};

enum class Window { Pre1, Pre2, Main, Main0, Main2, Select, ConfigSimple };

struct ExpectedWindow {
  Window window;
  const char* name;
  const char* caption;
  int width, height;  // client area, pixels
  std::vector<Expected> controls;
};
inline void PrintTo(const ExpectedWindow& w, std::ostream* os) {
  *os << w.name;
}

// A font as the layout names it.
struct NamedFont {
  QString family;
  double points;
  bool bold;
};
NamedFont FontNamed(F font);

// What kind of control a widget is, by its toolkit class.
K KindOf(const QWidget* widget);

// The names of the controls that take the focus, in tab order.
QStringList ExpectedChain(const ExpectedWindow& window);

// The page's own controls met walking the focus chain from `first`, once round.
QStringList FocusChain(FormWindow* page, const QString& first);

QString FocusName(FormWindow* page);
void PressKey(FormWindow* page, Qt::Key key);
void EnableAllButtons(FormWindow* page);
// Presses the key where the focus is and says which button was clicked, if any.
// Exit prompts are answered Cancel, so the page stays.
QString PressAndSeeWhichButton(FormWindow* page, Qt::Key key);

// Opens the windows as the program would: created, loaded, shown centred, with
// fakes in place of the network, the desktop and time, so nothing leaves the
// machine and Step 4's scan never starts.
class LayoutFixture : public ::testing::Test {
 protected:
  LayoutFixture();
  ~LayoutFixture() override;
  void SetUp() override;
  void TearDown() override;

  FormWindow* Open(Window window);
  void Close();
  PageFlow& Flow();

 private:
  std::unique_ptr<testing::TestWizard> wizard_;
};

}  // namespace orvane::layout_test

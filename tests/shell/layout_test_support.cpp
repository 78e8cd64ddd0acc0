#include "tests/shell/layout_test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>

#include "device/pages/frm_config_simple.h"
#include "device/pages/frm_main2.h"
#include "device/pages/frm_select.h"
#include "shell/navigation.h"
#include "tests/support/fake_services.h"
#include "tests/support/test_toolkit.h"

namespace orvane::layout_test {

NamedFont FontNamed(F font) {
  switch (font) {
    case F::Window:
      return {"MS Sans Serif", 8.25, false};
    case F::Sans12:
      return {"MS Sans Serif", 12, false};
    case F::Sans12Bold:
      return {"MS Sans Serif", 12, true};
    case F::Verdana8:
      return {"Verdana", 8.25, false};
    case F::Arial9:
      return {"Arial", 9, false};
    case F::MingLiU12:
      return {QString::fromUtf8("新細明體"), 12, false};
  }
  return {};
}

K KindOf(const QWidget* w) {
  if (dynamic_cast<const PictureBox*>(w)) return K::Picture;
  if (qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QLineEdit*>(w))
    return K::TextBox;
  if (qobject_cast<const QLabel*>(w)) return K::Label;
  if (qobject_cast<const QPushButton*>(w)) return K::Button;
  if (qobject_cast<const QRadioButton*>(w)) return K::Option;
  if (qobject_cast<const QTreeWidget*>(w)) return K::List;
  ADD_FAILURE() << "unexpected control class " << w->metaObject()->className();
  return K::Label;
}

QStringList ExpectedChain(const ExpectedWindow& window) {
  std::vector<const Expected*> rows;
  for (const Expected& c : window.controls)
    if (c.kind != K::Label) rows.push_back(&c);
  std::sort(rows.begin(), rows.end(),
            [](const Expected* a, const Expected* b) { return a->tab < b->tab; });
  QStringList names;
  for (const Expected* c : rows) names << QString::fromLatin1(c->name);
  return names;
}

QStringList FocusChain(Page* page, const QString& first) {
  QWidget* start = page->ControlByName(first.toLatin1().constData());
  if (!start) return {};
  QStringList names{first};
  // Inner widgets (scroll bars, viewports, the list's header) are in the chain
  // too; only the page's own controls count.
  for (QWidget* w = start->nextInFocusChain(); w && w != start; w = w->nextInFocusChain()) {
    if (names.size() > 100) break;
    if (w->parentWidget() != page || !(w->focusPolicy() & Qt::TabFocus)) continue;
    if (page->ControlByName(w->objectName().toLatin1().constData()) == w) names << w->objectName();
  }
  return names;
}

QString FocusName(Page* page) {
  QWidget* w = page->focusWidget();
  return w ? w->objectName() : QStringLiteral("<none>");
}

void PressKey(Page* page, Qt::Key key) {
  QWidget* target = page->focusWidget() ? page->focusWidget() : page;
  QTest::keyClick(target, key);
}

void EnableAllButtons(Page* page) {
  for (QPushButton* b : page->findChildren<QPushButton*>()) b->setEnabled(true);
}

QString PressAndSeeWhichButton(Page* page, Qt::Key key) {
  auto pressed = std::make_shared<QString>();
  for (QPushButton* b : page->findChildren<QPushButton*>()) {
    QObject::connect(b, &QPushButton::clicked, page, [pressed, b] {
      *pressed += (pressed->isEmpty() ? "" : "+") + b->objectName();
    });
  }
  testing::Tk().QueueAnswers({Answer::Cancel, Answer::Cancel});
  PressKey(page, key);
  return *pressed;
}

struct LayoutFixture::Fakes {
  testing::FakeWorld world;
};

LayoutFixture::LayoutFixture() = default;
LayoutFixture::~LayoutFixture() = default;

void LayoutFixture::SetUp() {
  testing::ResetWizard();
  fakes_ = std::make_unique<Fakes>();
}

void LayoutFixture::TearDown() {
  Close();
  fakes_.reset();
}

void LayoutFixture::Close() {
  testing::ResetWizard();
}

Page* LayoutFixture::Open(Window window) {
  Close();
  Page* page = nullptr;
  switch (window) {
    case Window::Pre1:
      page = CreatePage(PageId::Pre1);
      break;
    case Window::Pre2:
      page = CreatePage(PageId::Pre2);
      break;
    case Window::Main:
      page = CreatePage(PageId::Main);
      break;
    case Window::Main0:
      page = CreatePage(PageId::Main0);
      break;
    case Window::Main2: {
      auto* step4 = static_cast<frmMain2*>(CreatePage(PageId::Main2));
      // Only the layout is under test: no scan, not even a faked one.
      step4->Timer1.stop();
      step4->Timer2.stop();
      step4->Timer3.stop();
      page = step4;
      break;
    }
    case Window::Select:
      // As Step 4 opens it, but shown as an ordinary window so the test goes on.
      page = new frmSelect;
      page->LoadPage();
      break;
    case Window::ConfigSimple:
      page = new frmConfigSimple;
      page->LoadPage();
      break;
  }
  page->ShowPage();
  return page;
}

}  // namespace orvane::layout_test

#include "tests/wizard/layout_test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>

#include "tests/support/test_toolkit.h"
#include "tests/support/test_wizard.h"
#include "wizard/device_list_page.h"
#include "wizard/login_page.h"
#include "wizard/page_flow.h"

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

QStringList FocusChain(FormWindow* page, const QString& first) {
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

QString FocusName(FormWindow* page) {
  QWidget* w = page->focusWidget();
  return w ? w->objectName() : QStringLiteral("<none>");
}

void PressKey(FormWindow* page, Qt::Key key) {
  QWidget* target = page->focusWidget() ? page->focusWidget() : page;
  QTest::keyClick(target, key);
}

void EnableAllButtons(FormWindow* page) {
  for (QPushButton* b : page->findChildren<QPushButton*>()) b->setEnabled(true);
}

QString PressAndSeeWhichButton(FormWindow* page, Qt::Key key) {
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

LayoutFixture::LayoutFixture() = default;
LayoutFixture::~LayoutFixture() = default;

void LayoutFixture::SetUp() {
  testing::ResetWindows();
  wizard_ = std::make_unique<testing::TestWizard>();
}

void LayoutFixture::TearDown() {
  Close();
  wizard_.reset();
}

PageFlow& LayoutFixture::Flow() {
  return wizard_->flow;
}

void LayoutFixture::Close() {
  testing::ResetWindows();
}

FormWindow* LayoutFixture::Open(Window window) {
  Close();
  PageFlow& flow = Flow();
  FormWindow* page = nullptr;
  switch (window) {
    case Window::Pre1:
      page = flow.Create(PageId::Welcome);
      break;
    case Window::Pre2:
      page = flow.Create(PageId::PowerOn);
      break;
    case Window::Main:
      page = flow.Create(PageId::Cabling);
      break;
    case Window::Main0:
      page = flow.Create(PageId::ScanStart);
      break;
    case Window::Main2:
      // Its scan never starts: the fake clock does not move.
      page = flow.Create(PageId::SetupRun);
      break;
    case Window::Select:
      // As Step 4 opens it, but shown as an ordinary window so the test goes on.
      page = new DeviceListPage(flow, {});
      page->Load();
      break;
    case Window::ConfigSimple:
      page = new LoginPage(flow);
      page->Load();
      break;
  }
  page->ShowModeless();
  return page;
}

}  // namespace orvane::layout_test

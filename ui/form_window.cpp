#include "ui/form_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

#include "ui/resources.h"
#include "ui/toolkit.h"

namespace orvane {

namespace {
QList<QPointer<FormWindow>>& Registry() {
  static QList<QPointer<FormWindow>> windows;
  return windows;
}
}  // namespace

FormWindow::FormWindow(const WindowSpec& layout) : QWidget(nullptr), layout_(layout) {
  setObjectName(QString::fromLatin1(layout.name));
  setWindowTitle(QString::fromUtf8(layout.caption));
  setWindowIcon(ProgramIcon());
  // A fixed frame: the layout is drawn for one size, so the window neither
  // resizes nor maximises.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(ToPixels(layout.clientWidth), ToPixels(layout.clientHeight));
  // The window's own font, which the controls without a font of their own
  // (the buttons) take on.
  setFont(FontFor(FontFace::Window));
  setAutoFillBackground(true);
  BuildControls();
  Registry().append(this);
}

FormWindow::~FormWindow() {
  Registry().removeAll(this);
}

QList<FormWindow*> FormWindow::LiveWindows() {
  QList<FormWindow*> windows;
  for (const auto& w : Registry())
    if (w && !w->unloaded_) windows.append(w);
  return windows;
}

namespace {

QWidget* MakeTextBox(const ControlSpec& spec, QWidget* parent) {
  if (spec.multiLine) {
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(spec.readOnly);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return box;
  }
  auto* box = new QLineEdit(parent);
  box->setReadOnly(spec.readOnly);
  return box;
}

QWidget* MakeLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setAutoFillBackground(true);
  return label;
}

QWidget* MakeButton(const ControlSpec& spec, QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setAutoDefault(false);
  button->setDefault(spec.role == Role::Default);
  return button;
}

QWidget* MakeOption(QWidget* parent) {
  auto* option = new QRadioButton(parent);
  // Filled with the Window colour, which SetBackColor sets, like a label; a
  // button's own role would fill it with the button face.
  option->setBackgroundRole(QPalette::Window);
  option->setAutoFillBackground(true);
  return option;
}

QWidget* MakeList(QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->header()->setStretchLastSection(true);
  return list;
}

// The control a layout row describes, placed and in its font.
QWidget* MakeControl(const ControlSpec& spec, QWidget* parent) {
  QWidget* w = nullptr;
  switch (spec.kind) {
    case ControlKind::Picture:
      w = new PictureBox(parent);
      break;
    case ControlKind::TextBox:
      w = MakeTextBox(spec, parent);
      break;
    case ControlKind::Label:
      w = MakeLabel(parent);
      break;
    case ControlKind::Button:
      w = MakeButton(spec, parent);
      break;
    case ControlKind::Option:
      w = MakeOption(parent);
      break;
    case ControlKind::List:
      w = MakeList(parent);
      break;
  }
  w->setObjectName(QString::fromLatin1(spec.name));
  w->setGeometry(ToPixels(spec.left), ToPixels(spec.top), ToPixels(spec.width),
                 ToPixels(spec.height));
  if (spec.font != FontFace::Window) w->setFont(FontFor(spec.font));
  return w;
}

}  // namespace

void FormWindow::BuildControls() {
  std::vector<const ControlSpec*> byTab;
  for (const ControlSpec& spec : layout_.controls) {
    controls_[spec.name] = MakeControl(spec, this);
    byTab.push_back(&spec);
  }
  std::sort(byTab.begin(), byTab.end(),
            [](const ControlSpec* a, const ControlSpec* b) { return a->tab < b->tab; });
  for (const ControlSpec* spec : byTab) {
    QWidget* w = controls_[spec->name];
    if (w->focusPolicy() != Qt::NoFocus) tabOrder_.push_back(w);
  }
  for (std::size_t i = 1; i < tabOrder_.size(); ++i)
    QWidget::setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
}

QWidget* FormWindow::ControlByName(const char* name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}
QPushButton* FormWindow::ButtonControl(const char* name) const {
  return qobject_cast<QPushButton*>(ControlByName(name));
}
QLabel* FormWindow::LabelControl(const char* name) const {
  auto* w = ControlByName(name);
  return dynamic_cast<PictureBox*>(w) ? nullptr : qobject_cast<QLabel*>(w);
}
PictureBox* FormWindow::PictureControl(const char* name) const {
  return dynamic_cast<PictureBox*>(ControlByName(name));
}

void FormWindow::SetBackColor(QWidget* widget, std::uint32_t bgr) {
  QPalette pal = widget->palette();
  const QColor color = ColorFromBgr(bgr);
  pal.setColor(QPalette::Window, color);
  // A text box fills with Base. The window's own back colour must not pass it on
  // to its children: the list and the login boxes keep their white ground.
  if (!widget->isWindow()) pal.setColor(QPalette::Base, color);
  widget->setPalette(pal);
  widget->setAutoFillBackground(true);
}

void FormWindow::SetForeColor(QWidget* widget, std::uint32_t bgr) {
  QPalette pal = widget->palette();
  const QColor color = ColorFromBgr(bgr);
  pal.setColor(QPalette::WindowText, color);
  pal.setColor(QPalette::Text, color);
  pal.setColor(QPalette::ButtonText, color);
  widget->setPalette(pal);
}

void FormWindow::Load() {
  OnLoad();
}

void FormWindow::FocusFirstControl() {
  for (QWidget* w : tabOrder_) {
    if (w->isEnabled() && w->isVisible()) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void FormWindow::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  // The whole window, frame and title bar included, in the middle of the
  // work area. A window's position is that of its frame; the frame's size is
  // known only once the window is on screen, so this runs before and after.
  const QRect area = screen->availableGeometry();
  const QSize outer = frameGeometry().size();
  move(area.x() + (area.width() - outer.width()) / 2,
       area.y() + (area.height() - outer.height()) / 2);
}

void FormWindow::ShowModeless() {
  if (unloaded_) return;
  CentreOnScreen();
  show();
  CentreOnScreen();
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
  activateWindow();
  FocusFirstControl();
}

void FormWindow::ShowModal() {
  if (unloaded_) return;
  setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  connect(this, &FormWindow::Unloaded, &loop, &QEventLoop::quit);
  ShowModeless();
  // The window is not destroyed while its own modal wait runs, so the caller
  // can still read how it ended once ShowModal returns.
  const Hold hold(this);
  if (!unloaded_) loop.exec();
}

void FormWindow::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  hide();
  emit Unloaded();
  if (holds_ == 0) deleteLater();
}

FormWindow::Hold::Hold(FormWindow* window) : window_(window) {
  if (window_) ++window_->holds_;
}

FormWindow::Hold::~Hold() {
  if (window_) window_->Release();
}

void FormWindow::Release() {
  if (--holds_ == 0 && unloaded_) deleteLater();
}

void FormWindow::OnClick(QPushButton* button, std::function<void()> handler) {
  connect(button, &QPushButton::clicked, this, [this, handler = std::move(handler)] {
    if (ProgramEnded() || unloaded_) return;
    handler();
  });
}

void FormWindow::OnCloseBox() {
  Unload();
  if (LiveWindows().isEmpty()) EndProgram();
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // Closing by code goes through Unload; only the user's close box lands here
  // with the window still loaded.
  event->ignore();
  if (!unloaded_ && !ProgramEnded()) OnCloseBox();
}

void FormWindow::PressKeyButton(Role role) {
  for (const ControlSpec& spec : layout_.controls) {
    if (spec.role != role) continue;
    auto* button = ButtonControl(spec.name);
    if (button && button->isEnabled() && button->isVisible()) button->click();
    return;
  }
}

bool FormWindow::event(QEvent* e) {
  // Enter presses the default button and Esc the cancel button, wherever the
  // focus is, as on Windows; a focused button answers Enter itself.
  if (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool esc = key->key() == Qt::Key_Escape;
    if ((enter || esc) && key->modifiers() == Qt::NoModifier) {
      if (e->type() == QEvent::ShortcutOverride) return QWidget::event(e);
      if (enter) {
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget());
            focused && focused->isEnabled()) {
          focused->click();
        } else {
          PressKeyButton(Role::Default);
        }
      } else {
        PressKeyButton(Role::Cancel);
      }
      return true;
    }
  }
  return QWidget::event(e);
}

}  // namespace orvane

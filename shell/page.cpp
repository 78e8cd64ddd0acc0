#include "shell/page.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "shell/resources.h"
#include "shell/toolkit.h"

namespace orvane {

namespace {
QList<QPointer<Page>>& Registry() {
  static QList<QPointer<Page>> pages;
  return pages;
}
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
  // Picture boxes take the focus like the other controls with a tab stop.
  setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::SetPicture(const QImage& picture) {
  if (picture.isNull()) {
    shown_ = QImage();
  } else if (picture.width() <= width() && picture.height() <= height()) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    shown_ = picture;
  } else if (picture.width() - width() <= 8 && picture.height() - height() <= 8) {
    // A few pixels larger than its box (the step pictures): shown unscaled and
    // clipped at the edge, as the layout intends.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    shown_ = picture;
  } else {
    // The 57 x 60 status marks in their 49 x 49 boxes: scaled to fit, proportions
    // kept (47 x 49, centred). Scaled for the screen's pixels, not the layout's,
    // so at 150% or 200% the mark keeps the detail its artwork has.
    // Rounded down: at 150% a 49-pixel box is 73.5 screen pixels, and a 74-pixel
    // mark would stick out of it.
    const qreal ratio = devicePixelRatioF();
    const QSize room(int(std::floor(width() * ratio + 1e-9)),
                     int(std::floor(height() * ratio + 1e-9)));
    shown_ = picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    shown_.setDevicePixelRatio(ratio);
    setAlignment(Qt::AlignCenter);
  }
  update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (shown_.isNull()) return;
  QPainter painter(this);
  // At 150% or 200% the screen enlarges the picture: smoothly, not in blocks.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QSizeF logical = shown_.deviceIndependentSize();
  const QRect where =
      QStyle::alignedRect(layoutDirection(), alignment(), logical.toSize(), contentsRect());
  painter.drawImage(where.topLeft(), shown_);
}

void PictureBox::SetPictureNumber(int number) {
  number_ = number;
  SetPicture(number ? LoadBitmap(number) : QImage());
}

Page::Page(const WindowSpec& layout) : QWidget(nullptr), layout_(layout) {
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

Page::~Page() {
  Registry().removeAll(this);
}

QList<Page*> Page::LivePages() {
  QList<Page*> pages;
  for (const auto& p : Registry())
    if (p && !p->unloaded_) pages.append(p);
  return pages;
}

void Page::BuildControls() {
  std::vector<const ControlSpec*> byTab;
  for (const ControlSpec& spec : layout_.controls) {
    QWidget* w = nullptr;
    switch (spec.kind) {
      case ControlKind::Picture:
        w = new PictureBox(this);
        break;
      case ControlKind::TextBox:
        if (spec.multiLine) {
          auto* box = new QPlainTextEdit(this);
          box->setReadOnly(spec.readOnly);
          box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
          box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
          w = box;
        } else {
          auto* box = new QLineEdit(this);
          box->setReadOnly(spec.readOnly);
          w = box;
        }
        break;
      case ControlKind::Label: {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAutoFillBackground(true);
        w = label;
        break;
      }
      case ControlKind::Button: {
        auto* button = new QPushButton(this);
        button->setAutoDefault(false);
        button->setDefault(spec.role == Role::Default);
        w = button;
        break;
      }
      case ControlKind::Option: {
        auto* option = new QRadioButton(this);
        // Filled with the Window colour, which SetBackColor sets, like a
        // label; a button's own role would fill it with the button face.
        option->setBackgroundRole(QPalette::Window);
        option->setAutoFillBackground(true);
        w = option;
        break;
      }
      case ControlKind::List: {
        auto* list = new QTreeWidget(this);
        list->setRootIsDecorated(false);
        list->setItemsExpandable(false);
        list->setUniformRowHeights(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->header()->setStretchLastSection(true);
        w = list;
        break;
      }
    }
    w->setObjectName(QString::fromLatin1(spec.name));
    w->setGeometry(ToPixels(spec.left), ToPixels(spec.top), ToPixels(spec.width),
                   ToPixels(spec.height));
    if (spec.font != FontFace::Window) w->setFont(FontFor(spec.font));
    controls_[spec.name] = w;
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

QWidget* Page::ControlByName(const char* name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}
QPushButton* Page::ButtonControl(const char* name) const {
  return qobject_cast<QPushButton*>(ControlByName(name));
}
QLabel* Page::LabelControl(const char* name) const {
  auto* w = ControlByName(name);
  return dynamic_cast<PictureBox*>(w) ? nullptr : qobject_cast<QLabel*>(w);
}
PictureBox* Page::PictureControl(const char* name) const {
  return dynamic_cast<PictureBox*>(ControlByName(name));
}

void Page::SetBackColor(QWidget* widget, std::uint32_t bgr) {
  QPalette pal = widget->palette();
  const QColor color = ColorFromBgr(bgr);
  pal.setColor(QPalette::Window, color);
  // A text box fills with Base. The page's own back colour must not pass it on
  // to its children: the list and the login boxes keep their white ground.
  if (!widget->isWindow()) pal.setColor(QPalette::Base, color);
  widget->setPalette(pal);
  widget->setAutoFillBackground(true);
}

void Page::SetForeColor(QWidget* widget, std::uint32_t bgr) {
  QPalette pal = widget->palette();
  const QColor color = ColorFromBgr(bgr);
  pal.setColor(QPalette::WindowText, color);
  pal.setColor(QPalette::Text, color);
  pal.setColor(QPalette::ButtonText, color);
  widget->setPalette(pal);
}

void Page::LoadPage() {
  Load();
}

void Page::FocusFirstControl() {
  for (QWidget* w : tabOrder_) {
    if (w->isEnabled() && w->isVisible()) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void Page::CentreOnScreen() {
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

void Page::ShowPage() {
  if (unloaded_) return;
  CentreOnScreen();
  show();
  CentreOnScreen();
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
  activateWindow();
  FocusFirstControl();
}

void Page::ShowModal() {
  if (unloaded_) return;
  setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  connect(this, &Page::Unloaded, &loop, &QEventLoop::quit);
  ShowPage();
  // The page is not destroyed while its own modal wait runs, so the caller can
  // still read how it ended once ShowModal returns.
  inModalWait_ = true;
  if (!unloaded_) loop.exec();
  inModalWait_ = false;
  if (unloaded_) deleteLater();
}

void Page::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  hide();
  emit Unloaded();
  if (!inModalWait_) deleteLater();
}

void Page::OnClick(QPushButton* button, std::function<void()> handler) {
  connect(button, &QPushButton::clicked, this, [this, handler = std::move(handler)] {
    if (Ended() || unloaded_) return;
    handler();
  });
}

void Page::OnCloseBox() {
  Unload();
  if (LivePages().isEmpty()) End();
}

void Page::closeEvent(QCloseEvent* event) {
  // Closing by code goes through Unload; only the user's close box lands here
  // with the page still loaded.
  event->ignore();
  if (!unloaded_ && !Ended()) OnCloseBox();
}

void Page::PressKeyButton(Role role) {
  for (const ControlSpec& spec : layout_.controls) {
    if (spec.role != role) continue;
    auto* button = ButtonControl(spec.name);
    if (button && button->isEnabled() && button->isVisible()) button->click();
    return;
  }
}

bool Page::event(QEvent* e) {
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

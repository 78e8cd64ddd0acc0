#include "ui/picture_box.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QStyle>
#include <cmath>

#include "ui/resources.h"

namespace orvane {

namespace {

// To a screen reader a picture box is an image, spoken by its name and
// description, not the empty static text a QLabel would report.
QAccessibleInterface* PictureAccessible(const QString&, QObject* object) {
  if (auto* box = dynamic_cast<PictureBox*>(object))
    return new QAccessibleWidget(box, QAccessible::Graphic);
  return nullptr;
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
  static const bool accessible = (QAccessible::installFactory(PictureAccessible), true);
  (void)accessible;
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

void PictureBox::SetProgramPicture(Picture picture) {
  picture_ = picture;
  SetPicture(picture != Picture::None ? LoadBitmap(picture) : QImage());
}

}  // namespace orvane

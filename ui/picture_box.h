#pragma once
// A picture box: shows a bitmap at its top-left corner, or scaled down to fit
// (keeping its proportions) where the box is smaller than the picture. Screen
// readers meet it as an image with the box's accessible name and description.

#include <QImage>
#include <QLabel>

#include "ui/resources.h"

namespace orvane {

// It draws the picture itself rather than through QLabel's pixmap, which would
// copy a 24-bit step picture into 32 bits; shown unscaled, the picture is drawn
// straight from the program's data.
class PictureBox : public QLabel {
 public:
  explicit PictureBox(QWidget* parent);
  void SetPicture(const QImage& picture);
  // The picture as the box draws it: as loaded, or fitted to the box in the
  // screen's pixels (its device pixel ratio set). Null for an empty box.
  const QImage& Shown() const { return shown_; }
  Picture ProgramPicture() const { return picture_; }
  void SetProgramPicture(Picture picture);  // None clears the box

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Picture picture_ = Picture::None;
  QImage shown_;
};

}  // namespace orvane

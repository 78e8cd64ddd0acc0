// orvane-plain-step0: a reference of scripts/startup-bench.sh. Step 0's
// controls made of plain Qt widgets and nothing of the wizard's own code: a
// 652 x 348 picture of 24-bit pixels made in memory, a read-only text box
// holding text 4, the Next (default) and Exit buttons and the version label,
// in the faces the wizard's fonts map to, at the wizard's positions. It shows
// what Qt alone costs for a window like Step 0, next to the bare window.

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "resources/text_table.h"

namespace {

class Picture : public QWidget {
 public:
  explicit Picture(QWidget* parent) : QWidget(parent), image_(652, 348, QImage::Format_RGB888) {
    for (int y = 0; y < image_.height(); ++y) {
      uchar* line = image_.scanLine(y);
      for (int x = 0; x < image_.width(); ++x) {
        line[3 * x] = uchar(20 + y / 8);
        line[3 * x + 1] = uchar(60 + x / 8);
        line[3 * x + 2] = uchar(120 + (x + y) / 10);
      }
    }
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, image_); }

 private:
  QImage image_;
};

QFont Face(const char* family, qreal points) {
  QFont font;
  font.setFamilies({QString::fromLatin1(family)});
  font.setPointSizeF(points);
  return font;
}

// English text N.
QString Text(orvane::TextId id) {
  return QString::fromStdString(orvane::LoadText(id, orvane::Language::English));
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Orvane plain Step 0"));
  window.setFixedSize(654, 549);
  window.setFont(Face("Liberation Sans", 8.25));
  (new Picture(&window))->setGeometry(0, 0, 657, 353);
  auto* text = new QPlainTextEdit(&window);
  text->setGeometry(0, 352, 657, 137);
  text->setFont(Face("Liberation Sans", 12));
  text->setReadOnly(true);
  text->setPlainText(Text(orvane::TextId::WelcomeInstruction));
  auto* next = new QPushButton(Text(orvane::TextId::Next), &window);
  next->setGeometry(472, 504, 81, 33);
  next->setDefault(true);
  (new QPushButton(Text(orvane::TextId::Exit), &window))->setGeometry(568, 504, 81, 33);
  auto* version = new QLabel(Text(orvane::TextId::Version), &window);
  version->setGeometry(8, 520, 225, 17);
  version->setFont(Face("DejaVu Sans", 8.25));
  text->setFocus();
  window.show();
  return app.exec();
}

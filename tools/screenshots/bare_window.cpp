// orvane-bare-window: the yardstick of scripts/startup-bench.sh. A plain Qt
// Widgets window of Step 0's client size and nothing else, so the benchmark
// can tell what the wizard's own start-up adds to Qt's.
//
// With --label it also shows one word of text, in the toolkit's default font:
// the benchmark's second reference, which pays for the font system (reading
// the font configuration, loading a face, shaping) as every window with text
// does, and nothing else.

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const bool label = argc > 1 && std::strcmp(argv[1], "--label") == 0;
  QWidget window;
  window.setWindowTitle(label ? QStringLiteral("Orvane bare window with a label")
                              : QStringLiteral("Orvane bare window"));
  window.setFixedSize(654, 549);
  if (label) new QLabel(QStringLiteral("Orvane"), &window);
  window.show();
  return app.exec();
}

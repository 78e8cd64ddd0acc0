// orvane-bare-window: the yardstick of scripts/startup-bench.sh. A plain Qt
// Widgets window of Step 0's client size and nothing else, so the benchmark
// can tell what the wizard's own start-up adds to Qt's.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Orvane bare window"));
  window.setFixedSize(654, 549);
  window.show();
  return app.exec();
}

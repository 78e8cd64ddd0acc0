// main() of the GUI tests: one QApplication on the offscreen platform, and the
// test toolkit in place of the real message boxes and End.

#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/test_toolkit.h"

int main(int argc, char** argv) {
  // Offscreen, unless the caller names a platform. On Windows the offscreen
  // platform knows no system fonts, only a font folder of Qt's own, so texts
  // would be measured in no face at all: there the tests always run on the
  // Windows platform (under Wine, scripts/test-windows.sh gives it an X server).
#ifdef Q_OS_WIN
  qputenv("QT_QPA_PLATFORM", "windows");
#else
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  orvane::SetToolkit(&orvane::testing::Tk());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

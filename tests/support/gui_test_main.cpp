// main() of the GUI tests: one QApplication on the offscreen platform, and the
// test toolkit in place of the real message boxes and End.

#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/test_toolkit.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  orvane::SetToolkit(&orvane::testing::Tk());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// main() of the GUI tests: one QApplication on the offscreen platform, and the
// test toolkit in place of the real message boxes and End.

#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/fake_services.h"
#include "tests/support/test_toolkit.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  orvane::SetToolkit(&orvane::testing::Tk());
  // No GUI test reaches the real network or desktop by accident: without
  // services of its own, a test gets these inert fakes.
  orvane::testing::FakeWorld inert;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

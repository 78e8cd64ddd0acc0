// main() of the wizard's lab tests: refuses to run outside the lab, then gives
// the wizard a QApplication, the test toolkit (the user's answers), a desktop
// in a temporary home and an opener that only records what it was asked.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/lab/lab_net.h"
#include "tests/support/test_toolkit.h"

int main(int argc, char** argv) {
  if (!orvane::lab::InsideLab()) return 77;
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  const QString bin = home.filePath("bin");
  QDir().mkpath(home.filePath("Desktop"));
  QDir().mkpath(bin);
  QFile opener(bin + "/xdg-open");
  opener.open(QIODevice::WriteOnly);
  // Each opener writes its process id with what it was asked to open: the
  // openers run detached and side by side, so the order of their lines is
  // not the order they were started in, but the order of their ids is.
  opener.write("#!/bin/sh\nprintf '%s %s\\n' \"$$\" \"$1\" >> \"$HOME/opened.txt\"\n");
  opener.close();
  opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("HOME", home.path().toLocal8Bit());
  qunsetenv("XDG_CONFIG_HOME");
  qputenv("PATH", (bin + ":/usr/bin:/bin").toLocal8Bit());
  qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  orvane::SetToolkit(&orvane::testing::Tk());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

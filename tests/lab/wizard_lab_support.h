#pragma once
// The fixture of the wizard's lab tests: one run of Step 4 at a time, with the
// real network and desktop, and the user's part played through the toolkit.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QStringList>
#include <string>

#include "tests/support/page_driver.h"
#include "wizard/page_flow.h"
#include "wizard/program_services.h"
#include "wizard/setup_run_page.h"

namespace orvane::lab {

using testing::ChooseRowWhenShown;
using testing::FindPage;
using testing::WhenShown;

inline double CpuSeconds(const rusage& u) {
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class WizardLab : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Shows Step 4 (its load starts the real scan 100 ms later).
  SetupRunPage* StartStep4();
  // Runs Step 4 until the program ends; returns the wall time in seconds.
  double RunUntilEnded(int timeoutMs);

  static void ChooseRowWhenListed(int row) { ChooseRowWhenShown(row); }
  static void ChooseHostWhenListed(const char* host) { testing::ChooseHostWhenShown(host); }
  static void ConfirmLoginWhenShown() { testing::ConfirmLoginWhenShown(); }

  static QStringList BoxTexts();
  static QString T(TextId id) { return Text(id, Language::English); }
  // What the recording openers were asked to open, in the order they started.
  static QStringList Opened();
  // Both shortcut files of the host exist on the desktop and point at the address.
  static void ExpectShortcuts(const std::string& host, const std::string& address);

  // The wizard's own services: this PC's network and desktop, the event loop.
  ProgramServices services;
  PageFlow flow{services.Get()};
};

}  // namespace orvane::lab

#pragma once
// The fixture of the window tests: the wizard on the fake world, with no
// window left over before or after a test, and no message box after End.

#include <gtest/gtest.h>

#include "tests/support/test_toolkit.h"
#include "tests/support/test_wizard.h"

namespace orvane::testing {

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetWindows(); }
  void TearDown() override {
    // Once the program has ended nothing of the run may act any more.
    for (const auto& box : Tk().Shown())
      EXPECT_FALSE(box.afterEnd) << "shown after End: " << box.text.toStdString();
    ResetWindows();
  }

  TestWizard wizard;
  FakeWorld& world = wizard.world;
  PageFlow& flow = wizard.flow;
};

}  // namespace orvane::testing

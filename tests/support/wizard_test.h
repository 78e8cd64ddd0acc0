#pragma once
// The fixture of the window tests: the wizard on the fake world, with no
// window left over before or after a test, and no message box after End.

#include <gtest/gtest.h>

#include <QPointer>
#include <QTimer>
#include <functional>

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

// Acts as the user on the modal window of type W once it is on screen, from
// the loop that waits for it. A window the user left open is closed
// afterwards, so a fault fails the test instead of hanging it.
template <class W>
void ActOnModal(std::function<void(W&)> user) {
  QTimer::singleShot(0, [user = std::move(user)] {
    QPointer<W> window;
    for (FormWindow* w : FormWindow::LiveWindows())
      if (auto* found = dynamic_cast<W*>(w)) window = found;
    if (!window) {
      ADD_FAILURE() << "the modal window is not open";
      return;
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isModal());
    user(*window);
    if (window && !window->IsUnloaded()) {
      ADD_FAILURE() << "the modal window is still open";
      window->Unload();
    }
  });
}

}  // namespace orvane::testing

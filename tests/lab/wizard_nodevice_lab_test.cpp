// The real wizard on a LAN where no device answers the scan.

#include <QElapsedTimer>
#include <QPointer>

#include "tests/lab/lab_net.h"
#include "tests/lab/wizard_lab_support.h"
#include "tests/support/test_toolkit.h"
#include "ui/resources.h"
#include "ui/toolkit.h"

namespace orvane::lab {
namespace {

TEST_F(WizardLab, NoDeviceSaysSoAndReturnsToStep3) {
  QElapsedTimer clock;
  clock.start();
  // Watched through a QPointer: an unloaded page is deleted once nothing
  // holds it, possibly before the wait below returns.
  const QPointer<SetupRunPage> page = StartStep4();
  ASSERT_TRUE(orvane::testing::WaitFor([&] { return FindPage("frmMain0") != nullptr; }, 8000));
  EXPECT_TRUE(!page || page->IsUnloaded());
  EXPECT_EQ(BoxTexts(), QStringList{T(TextId::NoDeviceFoundMessage)});
  EXPECT_EQ(orvane::testing::Tk().Shown()[0].title, "TAVO");
  EXPECT_FALSE(ProgramEnded());
  std::printf("no device path: %.2f s\n", clock.elapsed() / 1000.0);
}

}  // namespace
}  // namespace orvane::lab

#include "tests/device/step4/step4_harness.h"

#include <QCoreApplication>

#include "shell/core/wizard_state.h"
#include "shell/navigation.h"

namespace orvane::testing {

float ScriptedCandidates::NextUnit() {
  const float r = values[std::min(next, values.size() - 1)];
  ++next;
  return r;
}

void Step4Test::SetUp() {
  ResetWizard();
  frmMain2::SetCandidateSource(&candidates);
}

void Step4Test::TearDown() {
  // Once the program has ended nothing of the run may act any more.
  for (const auto& box : Tk().Shown())
    EXPECT_FALSE(box.afterEnd) << "shown after End: " << box.text.toStdString();
  frmMain2::SetCandidateSource(nullptr);
  ResetWizard();
}

frmMain2* Step4Test::StartScan(const std::vector<std::string>& replies) {
  world.sender.onSend = [this, replies](const std::string& bytes) {
    if (bytes != "0C01S") return;
    for (const auto& r : replies) Later([this, r] { world.Arrive(r); });
  };
  auto* page = static_cast<frmMain2*>(GoToPage(nullptr, PageId::Main2));
  EXPECT_TRUE(WaitFor([&] { return page->Timer1.isActive() || Ended(); }, 2000));
  QCoreApplication::processEvents();
  return page;
}

void Step4Test::EndScanWindow(frmMain2* page) {
  page->Timer1.stop();
  page->Timer1_Timer();
}

QString Step4Test::Status(frmMain2* page) const {
  return page->LabelControl("lblRun")->text();
}

int Step4Test::MarkOf(frmMain2* page, const char* picture) const {
  return page->PictureControl(picture)->PictureNumber();
}

std::vector<QString> Step4Test::BoxTexts() const {
  std::vector<QString> texts;
  for (const auto& b : Tk().Shown()) texts.push_back(b.text);
  return texts;
}

}  // namespace orvane::testing

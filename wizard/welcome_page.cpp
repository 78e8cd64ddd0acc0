#include "wizard/welcome_page.h"

#include "wizard/layouts.h"

namespace orvane {

WelcomePage::WelcomePage(PageFlow& flow)
    : IntroPage(LayoutWelcome(), flow, PageId::PowerOn, std::nullopt) {}

void WelcomePage::OnLoad() {
  // The program's only initialisation: every load of Step 0 makes the texts
  // English again.
  flow_.SetLanguage(Language::English);
  SetBackColor(this, kPageBackColor);
  DressInstruction();
  DressVersionLabel();
  SetInstruction(TextId::WelcomeInstruction);
  next_->setText(Text(TextId::Next));
  exit_->setText(Text(TextId::Exit));
  ShowPicture(controls::kPicture,
              {Picture::Welcome, TextId::WelcomePictureName, TextId::WelcomePictureDescription});
  next_->setDefault(true);
}

}  // namespace orvane

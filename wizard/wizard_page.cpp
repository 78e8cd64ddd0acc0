#include "wizard/wizard_page.h"

#include "wizard/layouts.h"

namespace orvane {

void WizardPage::DressVersionLabel() {
  QLabel* lblVersion = LabelControl(controls::kVersion);
  SetBackColor(lblVersion, kLabelBackColor);
  SetForeColor(lblVersion, kLabelForeColor);
  lblVersion->setText(Text(TextId::Version));
}

void WizardPage::ShowPicture(const char* box, const DescribedPicture& picture) {
  PictureBox* pic = PictureControl(box);
  pic->SetProgramPicture(picture.picture);
  pic->setAccessibleName(Text(picture.name));
  pic->setAccessibleDescription(Text(picture.description));
}

}  // namespace orvane

#include "wizard/wizard_page.h"

namespace orvane {

void WizardPage::DressVersionLabel() {
  QLabel* lblVersion = LabelControl("lblVersion");
  SetBackColor(lblVersion, kLabelBackColor);
  SetForeColor(lblVersion, kLabelForeColor);
  lblVersion->setText(Text(TextId::Version));
}

}  // namespace orvane

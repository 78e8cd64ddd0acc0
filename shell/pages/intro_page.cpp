#include "shell/pages/intro_page.h"

#include "shell/core/wizard_state.h"
#include "shell/resources.h"

namespace orvane {

IntroPage::IntroPage(const WindowSpec& layout, PageId self, PageId next, PageId previous)
    : Page(layout),
      cmdNext(ButtonControl("cmdNext")),
      cmdPrevious(ButtonControl("cmdPrevious")),
      cmdExit(ButtonControl("cmdExit")),
      lblVersion(LabelControl("lblVersion")) {
  OnClick(cmdNext, [this, next] { GoToPage(this, next); });
  if (cmdPrevious && previous != self)
    OnClick(cmdPrevious, [this, previous] { GoToPage(this, previous); });
  OnClick(cmdExit, [this] { ConfirmExit(this); });
}

void IntroPage::DressInstruction() {
  auto* txt1 = ControlByName("txt1");
  SetBackColor(txt1, State().TextBackColor);
  SetForeColor(txt1, State().TextForeColor);
}

void IntroPage::DressVersionLabel() {
  SetBackColor(lblVersion, State().LabelBackColor);
  SetForeColor(lblVersion, State().LabelForeColor);
  lblVersion->setText(Text(58));
}

void IntroPage::CaptionButtons() {
  cmdNext->setText(Text(1));
  if (cmdPrevious) cmdPrevious->setText(Text(2));
  cmdExit->setText(Text(3));
}

}  // namespace orvane

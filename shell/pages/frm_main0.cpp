#include "shell/pages/frm_main0.h"

#include "shell/core/wizard_state.h"
#include "shell/resources.h"

namespace orvane {

frmMain0::frmMain0()
    : IntroPage(LayoutMain0(), PageId::Main0, PageId::Main2, PageId::Main),
      Option1(static_cast<QRadioButton*>(ControlByName("Option1"))),
      Label1(LabelControl("Label1")) {}

void frmMain0::Load() {
  // The only option on the page, selected at every load, so Next always scans.
  Option1->setChecked(true);
  SetBackColor(this, State().PageBackColor);
  SetBackColor(Option1, State().OptionBackColor);
  SetForeColor(Option1, kWhite);
  SetBackColor(Label1, State().LabelBackColor);
  SetForeColor(Label1, kWhite);
  Option1->setText(Text(18));
  Label1->setText(Text(20));
  CaptionButtons();
  DressVersionLabel();
}

}  // namespace orvane

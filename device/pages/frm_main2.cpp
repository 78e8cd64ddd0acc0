#include "device/pages/frm_main2.h"

#include "device/core/device_record.h"
#include "shell/core/wizard_state.h"
#include "shell/navigation.h"
#include "shell/resources.h"

namespace orvane {

frmMain2::frmMain2()
    : Page(LayoutMain2()),
      cmdPrevious(ButtonControl("cmdPrevious")),
      cmdExit(ButtonControl("cmdExit")),
      lblRun(LabelControl("lblRun")) {
  OnClick(cmdPrevious, [this] { cmdPrevious_Click(); });
  OnClick(cmdExit, [this] { ConfirmExit(this); });
}

void frmMain2::Load() {
  WizardState& s = State();
  s.LastDevice = -1;
  s.Devices = DeviceTable{};
  SetBackColor(this, s.PageBackColor);
  for (const char* name : {"Label1_1", "Label2_1", "Label3_1", "Label4_1", "Label5"})
    SetBackColor(LabelControl(name), s.LabelBackColor);
  SetBackColor(lblRun, s.TextBackColor);
  for (const char* name : {"Label1_1", "Label2_1", "Label3_1", "Label4_1", "Label5", "lblRun"})
    SetForeColor(LabelControl(name), s.LabelForeColor);
  for (const char* name : {"pic1", "pic2", "pic3", "pic4"})
    SetBackColor(PictureControl(name), s.PageBackColor);
  PictureControl("pic1")->SetPictureNumber(104);
  s.SelectedDevice = 0;
  LabelControl("Label1_1")->setText(Text(29));
  LabelControl("Label2_1")->setText(Text(30));
  LabelControl("Label3_1")->setText(Text(31));
  LabelControl("Label4_1")->setText(Text(32));
  LabelControl("Label5")->setText(Text(28));
  cmdPrevious->setText(Text(2));
  cmdExit->setText(Text(3));
  auto* lblVersion = LabelControl("lblVersion");
  SetBackColor(lblVersion, s.LabelBackColor);
  SetForeColor(lblVersion, s.LabelForeColor);
  lblVersion->setText(Text(58));
  cmdPrevious->setEnabled(false);
  cmdExit->setEnabled(false);
  lblRun->setText(Text(33));
}

void frmMain2::cmdPrevious_Click() {
  State().LastDevice = -1;
  State().Devices = DeviceTable{};
  GoToPage(this, PageId::Main0);
}

}  // namespace orvane

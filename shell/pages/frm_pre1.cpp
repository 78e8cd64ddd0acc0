#include "shell/pages/frm_pre1.h"

#include <QPlainTextEdit>

#include "shell/core/wizard_state.h"
#include "shell/resources.h"

namespace orvane {

frmPre1::frmPre1() : IntroPage(LayoutPre1(), PageId::Pre1, PageId::Pre2, PageId::Pre1) {}

void frmPre1::Load() {
  // The program's only initialisation: every load of Step 0 sets the theme
  // colours and the English text base again.
  ApplyStartupValues(State());
  SetBackColor(this, State().PageBackColor);
  DressInstruction();
  DressVersionLabel();
  static_cast<QPlainTextEdit*>(ControlByName("txt1"))->setPlainText(Text(4));
  cmdNext->setText(Text(1));
  cmdExit->setText(Text(3));
  PictureControl("pic1")->SetPictureNumber(101);
  cmdNext->setDefault(true);
}

}  // namespace orvane

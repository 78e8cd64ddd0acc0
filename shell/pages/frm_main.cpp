#include "shell/pages/frm_main.h"

#include <QPlainTextEdit>

#include "shell/core/wizard_state.h"
#include "shell/resources.h"

namespace orvane {

frmMain::frmMain() : IntroPage(LayoutMain(), PageId::Main, PageId::Main0, PageId::Pre2) {}

void frmMain::Load() {
  SetBackColor(this, State().PageBackColor);
  DressInstruction();
  CaptionButtons();
  static_cast<QPlainTextEdit*>(ControlByName("txt1"))->setPlainText(Text(6));
  PictureControl("pic1")->SetPictureNumber(103);
  DressVersionLabel();
}

}  // namespace orvane

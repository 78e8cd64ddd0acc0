#include "shell/pages/frm_pre2.h"

#include <QPlainTextEdit>

#include "shell/core/wizard_state.h"
#include "shell/resources.h"

namespace orvane {

frmPre2::frmPre2() : IntroPage(LayoutPre2(), PageId::Pre2, PageId::Main, PageId::Pre1) {}

void frmPre2::Load() {
  SetBackColor(this, State().PageBackColor);
  DressInstruction();
  PictureControl("pic1")->SetPictureNumber(102);
  static_cast<QPlainTextEdit*>(ControlByName("txt1"))->setPlainText(Text(5));
  DressVersionLabel();
  CaptionButtons();
}

}  // namespace orvane

#include "device/pages/frm_config_simple.h"

#include "shell/core/wizard_state.h"
#include "shell/navigation.h"
#include "shell/resources.h"
#include "shell/toolkit.h"

namespace orvane {

namespace {
// The factory default of both credentials, which the note (text 23) names.
const QString kFactoryDefault = QStringLiteral("vexil");
}  // namespace

frmConfigSimple::frmConfigSimple()
    : Page(LayoutConfigSimple()),
      txtUsername(qobject_cast<QLineEdit*>(ControlByName("txtUsername"))),
      txtPassword(qobject_cast<QLineEdit*>(ControlByName("txtPassword"))),
      Label1(LabelControl("Label1")),
      Label2(LabelControl("Label2")),
      Label3(LabelControl("Label3")),
      cmdNext(ButtonControl("cmdNext")),
      cmdExit(ButtonControl("cmdExit")) {
  // The password box keeps its normal echo: the user sees what is typed, as
  // the note beside it expects the factory default to be read and changed.
  OnClick(cmdNext, [this] { cmdNext_Click(); });
  OnClick(cmdExit, [this] { cmdExit_Click(); });
}

LoginOutcome frmConfigSimple::AskCredentials() {
  auto* page = new frmConfigSimple;
  // Read as the page unloads: Unload only defers the deletion, and the nested
  // loop of the modal wait may carry it out before ShowModal returns.
  LoginOutcome outcome = LoginOutcome::Cancelled;
  QObject::connect(page, &Page::Unloaded, page, [page, &outcome] { outcome = page->Outcome(); });
  page->LoadPage();
  page->ShowModal();
  return outcome;
}

void frmConfigSimple::Load() {
  // Emptied first: a pair left from an earlier run is never sent again unless
  // the user confirms it anew.
  WizardState& s = State();
  s.LoginUserName.clear();
  s.LoginPassword.clear();
  outcome_ = LoginOutcome::Cancelled;
  SetBackColor(this, s.PageBackColor);
  for (QLabel* label : {Label1, Label2, Label3}) SetBackColor(label, s.LabelBackColor);
  for (QLabel* label : {Label1, Label2, Label3}) SetForeColor(label, s.LabelForeColor);
  txtUsername->setText(kFactoryDefault);
  txtPassword->setText(kFactoryDefault);
  Label1->setText(Text(21));
  Label2->setText(Text(22));
  Label3->setText(Text(23));
  cmdNext->setText(Text(1));
  cmdExit->setText(Text(25));
}

void frmConfigSimple::cmdNext_Click() {
  const QString userName = txtUsername->text();
  const QString password = txtPassword->text();
  if (userName.isEmpty() || password.isEmpty()) {
    MsgBox(Text(27));
    return;
  }
  // Kept exactly as typed, blanks, ";" and quotes included: the request
  // carries them as its last two fields and the device judges them.
  State().LoginUserName = userName.toStdString();
  State().LoginPassword = password.toStdString();
  outcome_ = LoginOutcome::Confirmed;
  Unload();
}

void frmConfigSimple::cmdExit_Click() {
  if (MsgBox(Text(26), Buttons::OkCancel, Icon::None, Text(8)) != Answer::Ok) return;
  if (Ended() || IsUnloaded()) return;
  // The setup run ends here: Step 4 goes, then this page, and Step 3 comes
  // back, from where Next starts a new scan. Nothing is sent to the device.
  for (Page* page : LivePages())
    if (page->objectName() == QLatin1String("frmMain2")) page->Unload();
  outcome_ = LoginOutcome::Cancelled;
  Unload();
  GoToPage(nullptr, PageId::Main0);
}

void frmConfigSimple::OnCloseBox() {
  cmdExit_Click();
}

}  // namespace orvane

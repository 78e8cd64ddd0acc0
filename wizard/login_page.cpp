#include "wizard/login_page.h"

#include <algorithm>

#include "desktop/core_files.h"
#include "ui/toolkit.h"
#include "wizard/layouts.h"

namespace orvane {

namespace {
// The factory default of both credentials, which the note (TextId::FactoryDefaultNote) names.
const QString kFactoryDefault = QStringLiteral("vexil");
// A fixed English message, as the other messages outside the text table.
}  // namespace

LoginPage::LoginPage(PageFlow& flow)
    : WizardPage(LayoutLogin(), flow),
      userName_(qobject_cast<QLineEdit*>(ControlByName(controls::kUserName))),
      password_(qobject_cast<QLineEdit*>(ControlByName(controls::kPassword))),
      userNameLabel_(LabelControl(controls::kUserNameCaption)),
      passwordLabel_(LabelControl(controls::kPasswordCaption)),
      note_(LabelControl(controls::kFactoryDefaultNote)),
      next_(ButtonControl(controls::kNext)),
      cancel_(ButtonControl(controls::kExit)) {
  // The password box keeps its normal echo: the user sees what is typed, as
  // the note beside it expects the factory default to be read and changed.
  OnClick(next_, [this] { OnNext(); });
  OnClick(cancel_, [this] { OnCancel(); });
  // Each caption is its box's label, so a screen reader names the box by it.
  userNameLabel_->setBuddy(userName_);
  passwordLabel_->setBuddy(password_);
}

std::optional<Credentials> LoginPage::Ask(PageFlow& flow) {
  KeepSecretsOutOfCoreFiles();
  auto* page = new LoginPage(flow);
  page->OpenModal();
  // Moved out, not copied: the page object lives on until it is deleted
  // later, and should not hold a second copy of the password meanwhile.
  std::optional<Credentials> result = std::move(page->result_);
  page->result_.reset();
  if (ProgramEnded()) {
    if (result) result->WipePassword();
    return std::nullopt;
  }
  return result;
}

void LoginPage::OnLoad() {
  // Emptied first: a pair from an earlier opening is never sent again unless
  // the user confirms it anew.
  result_.reset();
  SetBackColor(this, kPageBackColor);
  for (QLabel* label : {userNameLabel_, passwordLabel_, note_})
    SetBackColor(label, kLabelBackColor);
  for (QLabel* label : {userNameLabel_, passwordLabel_, note_})
    SetForeColor(label, kLabelForeColor);
  userName_->setText(kFactoryDefault);
  password_->setText(kFactoryDefault);
  userNameLabel_->setText(Text(TextId::UserNameLabel));
  passwordLabel_->setText(Text(TextId::PasswordLabel));
  note_->setText(Text(TextId::FactoryDefaultNote));
  next_->setText(Text(TextId::Next));
  cancel_->setText(Text(TextId::Cancel));
}

void LoginPage::OnNext() {
  const QString userName = userName_->text();
  QString password = password_->text();
  if (userName.isEmpty() || password.isEmpty()) {
    ShowMessageBox(Text(TextId::CredentialsMissing));
    return;
  }
  // Kept exactly as typed, blanks, ";" and quotes included: the request
  // carries them as its last two fields and the device judges them.
  const PcCodePage pc = flow_.codePage();
  QByteArray typed = password.toUtf8();
  const std::optional<Secret> userBytes = CredentialBytes(userName.toStdString(), pc);
  std::optional<Secret> passwordBytes =
      CredentialBytes(std::string_view(typed.constData(), std::size_t(typed.size())), pc);
  WipeBytes(typed.data(), std::size_t(typed.size()));
  if (!userBytes || !passwordBytes) {
    // With a '?' in the place of a character, the device would refuse the
    // credentials and nobody could tell why.
    ShowMessageBox(Text(TextId::NotInCodePage).arg(pc.codePage) + "\r\n" +
                   Text(TextId::TypeInCodePage));
    return;
  }
  // The box lets go of the password (setText also drops its undo history),
  // so the copy here is the only one and is overwritten in place.
  password_->setText(QString());
  std::fill(password.begin(), password.end(), QChar(u'\0'));
  result_ = Credentials{std::string(userBytes->View()), std::move(*passwordBytes)};
  Unload();
}

void LoginPage::OnCancel() {
  if (ShowMessageBox(Text(TextId::ExitSetupQuestion), Buttons::OkCancel, Icon::None,
                     Text(TextId::Warning)) != Answer::Ok)
    return;
  if (ProgramEnded() || IsUnloaded()) return;
  // The setup ends here: nothing is sent to the device.
  result_.reset();
  Unload();
}

void LoginPage::OnCloseBox() {
  OnCancel();
}

}  // namespace orvane

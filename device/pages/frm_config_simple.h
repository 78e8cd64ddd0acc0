#pragma once
// The login page: asks the management user name and password of the device
// before Step 4 sends it its new network settings.

#include <QLineEdit>

#include "shell/page.h"

namespace orvane {

// How the login page ended. Anything but a Next with both boxes filled counts
// as Cancelled, so Step 4 never goes on with credentials nobody confirmed.
enum class LoginOutcome { Confirmed, Cancelled };

class frmConfigSimple : public Page {
 public:
  frmConfigSimple();

  // Creates and loads the page, shows it modally over Step 4 and returns once
  // it has closed. Confirmed: LoginUserName and LoginPassword hold what the
  // user typed, both non-empty. Cancelled: the user confirmed text 26, Step 4
  // has been unloaded and Step 3 is on screen; the caller must return at once
  // and send nothing. The caller also checks Ended() as after any modal wait.
  static LoginOutcome AskCredentials();

  // How this page ended; Cancelled until Next has accepted both boxes.
  LoginOutcome Outcome() const { return outcome_; }

 protected:
  void Load() override;
  // The close box is the Cancel button: it asks text 26 like cmdExit, and on
  // Cancel the page stays. Closing without asking would leave both credentials
  // empty while Step 4 waits, and Step 4 has no rule for that.
  void OnCloseBox() override;

 private:
  void cmdNext_Click();
  void cmdExit_Click();

  QLineEdit* txtUsername;
  QLineEdit* txtPassword;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QPushButton* cmdNext;
  QPushButton* cmdExit;
  LoginOutcome outcome_ = LoginOutcome::Cancelled;
};

}  // namespace orvane

#pragma once
// The login page: asks the management user name and password of the device
// before the run sends it its new network settings.

#include <QLineEdit>
#include <optional>

#include "device/run_front_end.h"
#include "wizard/wizard_page.h"

namespace orvane {

class LoginPage final : public WizardPage {
 public:
  explicit LoginPage(PageFlow& flow);

  // Creates and loads the page, shows it modally and returns once it has
  // closed: what the user typed, both non-empty, after Next; nothing after a
  // confirmed Cancel, or when the program ended meanwhile. Where a Cancel
  // leads is the caller's to decide.
  static std::optional<Credentials> Ask(PageFlow& flow);

  // What Next accepted; nothing until then.
  const std::optional<Credentials>& Result() const { return result_; }

 protected:
  void OnLoad() override;
  // The close box is the Cancel button: it asks TextId::ExitSetupQuestion like cancel_, and on
  // Cancel the page stays. Closing without asking would leave the run waiting
  // for credentials nobody confirmed.
  void OnCloseBox() override;

 private:
  void OnNext();
  void OnCancel();

  QLineEdit* userName_;
  QLineEdit* password_;
  QLabel* userNameLabel_;
  QLabel* passwordLabel_;
  QLabel* note_;
  QPushButton* next_;
  QPushButton* cancel_;
  std::optional<Credentials> result_;
};

}  // namespace orvane

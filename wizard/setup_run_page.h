#pragma once
// Step 4: the page of the setup run. The run itself (scan, choice, address
// search, configuration and every outcome) is the SetupRun engine; this page
// shows what it reports (four status rows, the status line, Previous and Exit)
// and opens the device list and the login page when it asks.

#include <optional>

#include "device/run_front_end.h"
#include "device/setup_run.h"
#include "ui/toolkit.h"
#include "wizard/wizard_page.h"

namespace orvane {

class SetupRunPage final : public WizardPage, private RunFrontEnd {
 public:
  explicit SetupRunPage(PageFlow& flow);
  ~SetupRunPage() override;

  // The run behind the page (read by tests and tools).
  const SetupRun& Run() const { return run_; }

 protected:
  // The close box is the form's own: closing the last page's window ends
  // the program at once, without a question, whatever the run is doing; the
  // Exit button is the one that asks.
  void OnLoad() override;

 private:
  void SetStatus(const std::string& text) override;
  void SetMark(Row row, Mark mark) override;
  void EnableLeaving() override;
  void SetBusy(bool busy) override;
  Answer ShowMessage(const Message& message) override;
  void LetEventsRun() override;
  std::optional<std::size_t> ChooseDevice(std::span<const DeviceRow> rows) override;
  std::optional<Credentials> AskCredentials() override;
  void ReturnToScanStart() override;
  void EndProgram() override;

  QPushButton* previous_;
  QPushButton* exit_;
  QLabel* status_;
  std::optional<BusyCursor> busy_;
  SetupRun run_;
};

}  // namespace orvane

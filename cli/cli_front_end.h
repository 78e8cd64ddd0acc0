#pragma once
// The setup run's front end on a command line: the status line becomes a line
// of progress on standard error, a message box a message there, the device
// list the device named on the command line, the login page the --user option
// and the password from standard input or a prompt without echo. A scan alone
// (`list`, `check`) uses its status line and messages.

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>

#include "cli/command_line.h"
#include "cli/device_output.h"
#include "cli/terminal.h"
#include "device/run_front_end.h"
#include "device/setup_run.h"

namespace orvane {

// The rows whose identity (also ignoring ASCII case), host name (ignoring
// ASCII case) or current address is `wanted`, in list order.
std::vector<std::size_t> MatchingRows(std::span<const DeviceRow> rows, std::string_view wanted);

class CliFrontEnd final : public RunFrontEnd {
 public:
  // `yield` runs the pending events of the program's loop. `password`: read
  // from standard input already (--password-stdin), or nothing to ask for it
  // when it is needed.
  CliFrontEnd(const Invocation& invocation, std::function<void()> yield, Terminal& terminal,
              std::optional<Secret> password, std::ostream& err);
  ~CliFrontEnd() override;
  CliFrontEnd(const CliFrontEnd&) = delete;
  CliFrontEnd& operator=(const CliFrontEnd&) = delete;
  void Attach(SetupRun& run) { run_ = &run; }

  // What the front end decided itself where the run only sees a list without
  // a choice or cancelled credentials: no match, more than one, no yes.
  std::optional<ExitCode> Decision() const { return decision_; }
  // The device chosen, once chosen.
  const std::optional<DeviceRecord>& Chosen() const { return chosen_; }

  void SetStatus(const std::string& text) override;
  void SetMark(Row, Mark) override {}
  void EnableLeaving() override {}
  void SetBusy(bool) override {}
  Answer ShowMessage(const Message& message) override;
  void LetEventsRun() override;
  std::optional<std::size_t> ChooseDevice(std::span<const DeviceRow> rows) override;
  std::optional<Credentials> AskCredentials() override;
  void ReturnToScanStart() override { Leave(); }
  void EndProgram() override { Leave(); }

 private:
  void Leave();
  std::optional<std::size_t> Decide(ExitCode code, const std::string& error);
  bool Confirmed();
  std::optional<std::string> Ask(const std::string& prompt);

  const Invocation& invocation_;
  std::function<void()> yield_;
  Terminal& terminal_;
  std::optional<Secret> password_;
  std::ostream& err_;
  SetupRun* run_ = nullptr;
  std::optional<ExitCode> decision_;
  std::optional<DeviceRecord> chosen_;
};

}  // namespace orvane

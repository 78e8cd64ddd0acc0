#pragma once
// What the setup run shows and asks, without saying how: the Step 4 page is
// one front end, a test's recording fake another.

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "device/device_record.h"
#include "resources/message.h"
#include "text/secret.h"

namespace orvane {

// The four status rows of a run, top to bottom.
enum class Row { Scan, Access, Configuration, Shortcuts };

// A row's mark: none, or pictures 104 (running), 105 (done) and 106 (failed).
enum class Mark { None, Running, Done, Failed };

// One row of the device list: a device the scan found and whether it answered
// the echo.
struct DeviceRow {
  const DeviceRecord* device;
  bool reachable;
};

// The management user name and password, exactly as confirmed: both non-empty.
// The password is held as a Secret, and wiped once the request that carries
// it has been composed, so that it is not left in memory (a core file, a
// crash report).
struct Credentials {
  std::string userName;
  Secret password;

  void WipePassword() { password.Wipe(); }
  // For texts that held it, such as the request itself.
  static void Wipe(std::string& text) { WipeString(text); }
};

class RunFrontEnd {
 public:
  virtual ~RunFrontEnd() = default;

  virtual void SetStatus(const std::string& text) = 0;
  virtual void SetMark(Row row, Mark mark) = 0;
  // Previous and Exit become usable: the run has come to rest.
  virtual void EnableLeaving() = 0;
  // The busy cursor, around work that blocks (probes).
  virtual void SetBusy(bool busy) = 0;

  // The calls below may let other events run before they return, so the run
  // may have been stopped meanwhile; it checks before it goes on.

  // A modal message box; returns the button pressed.
  virtual Answer ShowMessage(const Message& message) = 0;
  // Lets every pending event run (repaints, datagrams, clicks), then returns.
  virtual void LetEventsRun() = 0;
  // The device list: returns the index of the chosen row, or nothing when the
  // list closed without a choice.
  virtual std::optional<std::size_t> ChooseDevice(std::span<const DeviceRow> rows) = 0;
  // The login page: the confirmed credentials, or nothing when the user
  // cancelled the setup.
  virtual std::optional<Credentials> AskCredentials() = 0;

  // Where a run goes when it is over: back to the page that starts a scan
  // (this run's page goes), or the end of the program.
  virtual void ReturnToScanStart() = 0;
  virtual void EndProgram() = 0;
};

}  // namespace orvane

#pragma once
// The setup run, from the opening of Step 4 to its end: the scan, the device
// choice, the free address search, the configuration request and the wait for
// its reply, and every outcome. Standard C++ only: it reaches the world
// through Services and shows everything through its RunFrontEnd.
//
// The road of a run (its RunPhase in brackets):
//   Start         [Starting] the table is emptied, the PC's settings read;
//                 100 ms later
//   the scan      [Scanning] (scan.h) takes replies for 3000 ms; no device:
//                 back to the scan start. Otherwise
//   the choice    [Choosing] every device is checked (address_search.h) and
//                 listed, the user chooses one; a reachable one gets its
//                 shortcuts and the program ends. An unreachable one gets
//   the search    [Searching] a free address in the PC's subnet and,
//   the request   [Configuring] with the confirmed credentials, "0C02S";
//                 then [AwaitingReply] either
//   a reply       "0C02R": success ([Watching] the new address, then
//                 [Finishing] with shortcuts to it) or refusal ([AtRest]), or
//   a look        the device seen at its new address without a reply:
//                 success as well, said to be unconfirmed, or
//   the time-out  nothing within 30000 ms ([AtRest]).

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "device/address_search.h"
#include "device/device_record.h"
#include "device/run_front_end.h"
#include "device/scan.h"
#include "device/setup_services.h"
#include "resources/text_table.h"

namespace orvane {

inline constexpr std::chrono::milliseconds kScanStartDelay{100};
inline constexpr std::chrono::milliseconds kReplyTimeout{30000};
// After a successful configuration the device is looked for at its new
// address this long, an echo (or ARP) every half second or so, before the
// shortcuts are offered.
inline constexpr std::chrono::milliseconds kWatchNewAddress{10000};
inline constexpr std::chrono::milliseconds kWatchPause{500};
// While the reply to the configuration request is awaited, the new address is
// looked at this often (ARP, without waiting): a device that took its new
// settings but whose reply was lost is found there.
inline constexpr std::chrono::milliseconds kLookWhileWaiting{1000};

// Where a run is. Each phase ends in the next or at rest; Stopped ends all.
enum class RunPhase {
  Idle,           // not started, or gone back to the scan start
  Starting,       // the page is painted; the scan starts 100 ms later
  Scanning,       // the scan window is open
  Choosing,       // the devices are checked and listed; the user chooses
  Searching,      // a free address is sought for the chosen device
  Configuring,    // the credentials are asked and the request composed
  AwaitingReply,  // the configuration request is out and its reply still counts
  Watching,       // configured: the device is looked for at its new address
  Finishing,      // the shortcuts, their notice and the question to open them
  AtRest,         // refused or unanswered: only the user's leaving goes on
  Stopped,        // the page left: nothing of this run acts any more
};

// How a run came to rest, for a front end that reports it as a value (the
// command line's exit code) rather than by the texts it showed.
enum class RunOutcome {
  Running,           // not at rest yet
  NoDevice,          // the scan window closed with no device
  NoChoice,          // the list closed without a choice
  PcNotConfigured,   // this PC has no address of its own to share
  NoFreeAddress,     // no candidate was proven free
  Cancelled,         // the credentials were not given: nothing was sent
  AlreadyReachable,  // the device answered: its settings stay, shortcuts made
  Configured,        // the device took its new settings (said so, or was found
                     // at its new address), shortcuts made
  Refused,           // the device answered the request with anything but success
  NoReply,           // no answer to the request within 30 s
};

class SetupRun {
 public:
  // `scanWindow`: see Scan.
  SetupRun(const Services& services, RunFrontEnd& frontEnd, Language language,
           std::chrono::milliseconds scanWindow = kScanWindow);
  ~SetupRun();
  SetupRun(const SetupRun&) = delete;
  SetupRun& operator=(const SetupRun&) = delete;

  // Step 4 has loaded: empties the table, reads the PC's settings, shows
  // TextId::Scanning, lets pending events run and starts the scan 100 ms
  // later, never inside the load.
  void Start();
  // Previous: empties the table and goes back to the scan start.
  void GoBack();
  // The page is leaving, by any road: timers and receivers stop at once and
  // nothing of this run acts any more.
  void Stop();

  RunPhase Phase() const { return phase_; }
  bool Stopped() const { return phase_ == RunPhase::Stopped; }
  // Set before the front end is told to leave, end or enable leaving.
  RunOutcome Outcome() const { return outcome_; }

  // What the run has found and chosen so far.
  const Scan& Scanned() const { return scan_; }
  const DeviceTable& Devices() const { return scan_.Devices(); }
  int LastDevice() const { return scan_.LastDevice(); }  // -1: none
  const ScanReport& Report() const { return scan_.Report(); }
  const Arrival& ArrivalOf(std::size_t index) const { return scan_.ArrivalOf(index); }
  // The settings the new address is drawn from and sent with: the first
  // adapter's, then those of the adapter the chosen device answered on.
  const LocalSettings& Settings() const { return settings_; }
  const std::string& NewAddress() const { return newAddress_; }
  bool ReceiverOpen() const;
  bool ScanWindowOpen() const { return scan_.WindowOpen(); }
  bool AwaitingReply() const { return phase_ == RunPhase::AwaitingReply; }
  // Datagrams that came while the reply was awaited and were not the
  // device's answer to the request.
  int IgnoredDatagrams() const { return ignoredDatagrams_; }
  bool Watching() const { return phase_ == RunPhase::Watching; }

 private:
  // Moves to `phase` unless the run was stopped meanwhile (a message box or
  // a yield let the page leave): false then, and the caller goes no further.
  bool Enter(RunPhase phase);
  // Lets pending events run; false when they stopped the run.
  bool LetEventsRun();

  void OnScanEnded();
  // The choice among the devices found; nothing when the list closed
  // without one or the run stopped.
  struct Choice {
    std::size_t index;
    bool reachable;
  };
  std::optional<Choice> ChooseDevice();
  // True with a free address in NewAddress; otherwise the run went no further
  // (it went back to the scan start, ended the program, or was stopped).
  bool SearchFreeAddress();
  void ConfigureDevice(const DeviceRecord& device);
  void OnDatagram(std::string_view datagram);
  void LookWhileWaiting();
  void FoundWithoutReply();
  void OnReplyTimeout();
  void WatchNewAddress();
  void OnWatchTick();
  // `postscript`: one more sentence for the notice.
  void FinishWithShortcuts(const std::string& address, TextId done, TextId notice,
                           std::optional<TextId> postscript = std::nullopt);
  // Refused or unanswered: the page stays, with Previous and Exit usable.
  void ComeToRest(RunOutcome outcome, TextId status);
  void SayCouldNotProbeOnce();
  void ReturnToScanStart(RunOutcome outcome);
  void BackToScanStart(RunOutcome outcome, TextId status, TextId message,
                       const std::string& details = {});
  void StopWaiting();

  std::string Text(TextId id) const { return LoadText(id, language_); }
  void Status(TextId id) { frontEnd_.SetStatus(Text(id)); }
  Answer Show(const Message& message) { return frontEnd_.ShowMessage(message); }

  const Services& services_;
  RunFrontEnd& frontEnd_;
  const Language language_;
  Scan scan_;
  std::unique_ptr<ReplyReceiver> replies_;  // made for the configuration reply
  std::unique_ptr<Timer> scanStart_;
  std::unique_ptr<Timer> replyTimeout_;
  std::unique_ptr<Timer> lookWhileWaiting_;
  std::unique_ptr<Timer> watchDeadline_;
  std::unique_ptr<Timer> watchNext_;

  RunPhase phase_ = RunPhase::Idle;
  RunOutcome outcome_ = RunOutcome::Running;
  LocalSettings settings_;
  std::size_t selected_ = 0;
  std::string newAddress_;
  bool toldCouldNotProbe_ = false;
  int ignoredDatagrams_ = 0;
};

}  // namespace orvane

#pragma once
// The setup run, from the opening of Step 4 to its end: the scan window, the
// device choice, the free address search, the configuration request and the
// wait for its reply, and every outcome. Standard C++ only: it reaches the
// world through Services and shows everything through its RunFrontEnd.
//
// The road of a run:
//   Start         the table is emptied, the PC's settings read; 100 ms later
//   StartScan     the receiver opens and "0C01S" goes out; 3000 ms later
//   ScanWindowEnded  the receiver closes; no device: back to the scan start.
//                 Otherwise every device is probed and listed, the user
//                 chooses one; a reachable one gets its shortcuts and the
//                 program ends. An unreachable one gets a free address in the
//                 PC's subnet and, with the confirmed credentials, the "0C02S"
//                 request; then either
//   Datagram      a "0C02R" reply: success (shortcuts to the new address,
//                 then the end) or failure (the page stays), or
//   LookWhileWaiting  the device seen at its new address without a reply:
//                 success as well, said to be unconfirmed, or
//   ReplyTimeout  nothing within 30000 ms: the page stays.

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "device/device_record.h"
#include "device/run_front_end.h"
#include "device/scan_report.h"
#include "device/setup_services.h"
#include "resources/text_table.h"

namespace orvane {

inline constexpr std::chrono::milliseconds kScanStartDelay{100};
inline constexpr std::chrono::milliseconds kScanWindow{3000};
// The discovery request goes out this many times, this far apart, from the
// start of the scan window. Broadcast frames get no link-layer retry, and on
// a busy Wi-Fi 10 to 30 % of them are lost, replies as well as requests: at
// 20 % each way one round fails 36 % of the time, eight rounds all fail
// 0.03 % of the time, so five devices are all listed in 99.9 % of scans.
// Spread over 1.75 s, a burst of loss does not take every round, and the
// last request leaves 1.25 s of the window for its replies. Eight requests
// of 5 bytes cost the network nothing; repeated replies are listed once.
inline constexpr int kDiscoveryRequests = 8;
inline constexpr std::chrono::milliseconds kDiscoveryRepeat{250};
inline constexpr std::chrono::milliseconds kReplyTimeout{30000};
inline constexpr int kAddressCandidates = 20;
// After a successful configuration the device is looked for at its new
// address this long, an echo (or ARP) every half second or so, before the
// shortcuts are offered.
inline constexpr std::chrono::milliseconds kWatchNewAddress{10000};
inline constexpr std::chrono::milliseconds kWatchPause{500};
// While the reply to the configuration request is awaited, the new address is
// looked at this often (ARP, without waiting): a device that took its new
// settings but whose reply was lost is found there.
inline constexpr std::chrono::milliseconds kLookWhileWaiting{1000};

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
  // `scanWindow`: how long discovery replies are taken; the wizard keeps the
  // fixed 3000 ms, the command line lets its user wait longer.
  SetupRun(const Services& services, RunFrontEnd& frontEnd, Language language,
           std::chrono::milliseconds scanWindow = kScanWindow);
  ~SetupRun();
  SetupRun(const SetupRun&) = delete;
  SetupRun& operator=(const SetupRun&) = delete;

  // Step 4 has loaded: empties the table, marks the scan as running, reads the
  // PC's settings, shows TextId::Scanning, lets pending events run and starts the scan
  // 100 ms later, never inside the load.
  void Start();
  // Previous: empties the table and goes back to the scan start.
  void GoBack();
  // The page is leaving, by any road: timers and receiver stop at once and
  // nothing of this run acts any more.
  void Stop();

  // What the run has found and chosen so far.
  const DeviceTable& Devices() const { return devices_; }
  int LastDevice() const { return lastDevice_; }  // -1: none
  const LocalSettings& Settings() const { return settings_; }
  const std::string& NewAddress() const { return newAddress_; }
  bool AddressFound() const { return addressFound_; }
  bool ReceiverOpen() const { return receiver_->IsOpen(); }
  // The discovery request is out and its replies are being taken.
  bool ScanWindowOpen() const { return scanWindow_->IsActive(); }
  // The configuration request is out and its reply still counts.
  bool AwaitingReply() const { return awaitingReply_; }
  // What the scan checked (adapters, reply port, what arrived).
  const ScanReport& Report() const { return report_; }
  // The adapter a device's reply came in on.
  const Arrival& ArrivalOf(std::size_t index) const { return arrivals_[index]; }
  // After a successful configuration: the device is being looked for at its
  // new address.
  bool Watching() const { return watchDeadline_->IsActive(); }
  bool Stopped() const { return stopped_; }
  // Set before the front end is told to leave, end or enable leaving.
  RunOutcome Outcome() const { return outcome_; }

 private:
  void StartScan();
  void RepeatDiscovery();
  // One discovery request on every adapter it goes out on, recorded in the
  // report; the outcome is a failure only when it left on none.
  SendOutcome SendDiscovery();
  void OnScanWindowEnded();
  void OnReplyTimeout();
  void OnDatagram(std::string_view datagram, const Arrival& arrival);
  void StoreDiscovery(std::string_view datagram, const Arrival& arrival);
  void OnConfigurationReply(std::string_view datagram);

  // The parts of the run after the scan window.
  struct Choice {
    std::size_t index;
    bool reachable;
  };
  std::optional<Choice> ChooseDevice();
  // True with a free address in NewAddress; otherwise the run went no further
  // (it went back to the scan start, ended the program, or was stopped).
  bool SearchFreeAddress();
  void ConfigureDevice(const DeviceRecord& device);
  // `postscript`: one more sentence for the notice.
  void FinishWithShortcuts(const std::string& address, TextId done, TextId notice,
                           std::optional<TextId> postscript = std::nullopt);
  // The adapter a device's reply came in on, when this PC lists it and a
  // request can go out on it.
  const Adapter* ArrivalAdapter(std::size_t index) const;
  bool SeveralAdapters() const { return sendAdapters_.size() > 1; }
  bool CandidateIsFree(ProbeResult answer);
  // Whether this device answers where it reported itself, though it drops
  // the echo: on a link of this PC, ARP with its own hardware address.
  bool AnswersArpOnALink(const DeviceRecord& device, ProbeResult echo);
  void WatchNewAddress();
  void OnWatchTick();
  void LookWhileWaiting();
  void FoundWithoutReply();

  std::string PickRandomAddress();
  void SayCouldNotProbeOnce();
  void BroadcastDiscovery();
  // Takes the message by value: the configuration request carries the
  // password and is wiped as soon as it is out.
  void Broadcast(std::string message, const Adapter* via);
  void AfterBroadcast(const SendOutcome& outcome);
  void OpenReceiver();
  void CloseReceiver();
  void BackToScanStart(TextId status, TextId message, const std::string& details = {});
  void ReturnToScanStart(RunOutcome outcome);

  std::string Text(TextId id) const { return LoadText(id, language_); }
  void Status(TextId id) { frontEnd_.SetStatus(Text(id)); }
  Answer Show(Message message);

  const Services& services_;
  RunFrontEnd& frontEnd_;
  const Language language_;
  const std::chrono::milliseconds scanWindowLength_;
  std::unique_ptr<ReplyReceiver> receiver_;
  std::unique_ptr<Timer> scanStart_;
  std::unique_ptr<Timer> scanWindow_;
  std::unique_ptr<Timer> discoveryRepeat_;
  std::unique_ptr<Timer> replyTimeout_;
  std::unique_ptr<Timer> lookWhileWaiting_;
  std::unique_ptr<Timer> watchDeadline_;
  std::unique_ptr<Timer> watchNext_;

  DeviceTable devices_{};
  std::int16_t lastDevice_ = -1;
  std::array<Arrival, kDeviceCount> arrivals_{};
  LocalSettings settings_;
  std::vector<Adapter> adapters_;      // every adapter this PC lists
  std::vector<Adapter> sendAdapters_;  // those a request can go out on
  ScanReport report_;
  int discoveryRequests_ = 0;  // sent in this scan
  std::size_t selected_ = 0;
  std::string newAddress_;
  bool addressFound_ = false;
  // Only while the configuration request is out may a configuration reply
  // act: one that came during the scan would end the run with shortcuts to an
  // address never chosen.
  bool awaitingReply_ = false;
  bool toldCouldNotProbe_ = false;
  bool stopped_ = false;
  RunOutcome outcome_ = RunOutcome::Running;
};

}  // namespace orvane

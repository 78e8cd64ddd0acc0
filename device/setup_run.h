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
//   ReplyTimeout  nothing within 30000 ms: the page stays.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "device/device_record.h"
#include "device/run_front_end.h"
#include "device/setup_services.h"
#include "resources/text_table.h"

namespace orvane {

inline constexpr std::chrono::milliseconds kScanStartDelay{100};
inline constexpr std::chrono::milliseconds kScanWindow{3000};
inline constexpr std::chrono::milliseconds kReplyTimeout{30000};
inline constexpr int kAddressCandidates = 20;

class SetupRun {
 public:
  SetupRun(const Services& services, RunFrontEnd& frontEnd, Language language);
  ~SetupRun();
  SetupRun(const SetupRun&) = delete;
  SetupRun& operator=(const SetupRun&) = delete;

  // Step 4 has loaded: empties the table, marks the scan as running, reads the
  // PC's settings, shows text 33, lets pending events run and starts the scan
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
  bool Stopped() const { return stopped_; }

 private:
  void StartScan();
  void OnScanWindowEnded();
  void OnReplyTimeout();
  void OnDatagram(std::string_view datagram);
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
  void FinishWithShortcuts(const std::string& address, TextId done, TextId notice);

  std::string PickRandomAddress();
  bool IsReachable(const std::string& address);
  void SayCouldNotProbeOnce();
  // Takes the message by value: the configuration request carries the
  // password and is wiped as soon as it is out.
  void Broadcast(std::string message);
  void OpenReceiver();
  void CloseReceiver();
  void BackToScanStart(TextId status, TextId message);

  std::string Text(TextId id) const { return LoadText(id, language_); }
  void Status(TextId id) { frontEnd_.SetStatus(Text(id)); }
  Answer Show(Message message);

  const Services& services_;
  RunFrontEnd& frontEnd_;
  const Language language_;
  std::unique_ptr<ReplyReceiver> receiver_;
  std::unique_ptr<Timer> scanStart_;
  std::unique_ptr<Timer> scanWindow_;
  std::unique_ptr<Timer> replyTimeout_;

  DeviceTable devices_{};
  std::int16_t lastDevice_ = -1;
  LocalSettings settings_;
  std::size_t selected_ = 0;
  std::string newAddress_;
  bool addressFound_ = false;
  // Only while the configuration request is out may a configuration reply
  // act: one that came during the scan would end the run with shortcuts to an
  // address never chosen.
  bool awaitingReply_ = false;
  bool toldCouldNotProbe_ = false;
  bool stopped_ = false;
};

}  // namespace orvane

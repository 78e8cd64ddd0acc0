#pragma once
// The scan: the receiver on UDP port 12310, the discovery request "0C01S" on
// every adapter a request can leave by, repeated through the window, one row
// per device identity, and the report of what was checked. The setup run
// starts one on Step 4; `orvane list` and `orvane check` run one alone.
//
// Standard C++ only: it reaches the world through Services and shows its two
// failures (the port is taken, the request did not leave) through the front
// end, whose ShowMessage and LetEventsRun are all it uses.

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/device_record.h"
#include "device/run_front_end.h"
#include "device/scan_report.h"
#include "device/setup_services.h"
#include "resources/text_table.h"

namespace orvane {

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

// The message for a reply port that cannot be bound: `error` says why.
Message CannotReceiveMessage(const std::string& error, Language language);

class Scan {
 public:
  // `window`: how long discovery replies are taken; the wizard keeps the
  // fixed 3000 ms, the command line lets its user wait longer.
  Scan(const Services& services, RunFrontEnd& frontEnd, Language language,
       std::chrono::milliseconds window = kScanWindow);
  ~Scan();
  Scan(const Scan&) = delete;
  Scan& operator=(const Scan&) = delete;

  // Empties the table and the report, reads the adapters, opens the receiver
  // and sends the request; a failure of either is shown before the window
  // starts. `onEnded` runs once the window has ended and the receiver is
  // closed; after an empty scan the report also says whether this PC's own
  // datagram reached the port and what its firewall says of it.
  void Start(std::function<void()> onEnded);
  // Timers and receiver stop at once; nothing of this scan acts any more.
  void Stop();
  // Empties the table.
  void Clear();

  const DeviceTable& Devices() const { return devices_; }
  int LastDevice() const { return lastDevice_; }  // -1: none
  const ScanReport& Report() const { return report_; }
  // The adapter a device's reply came in on.
  const Arrival& ArrivalOf(std::size_t index) const { return arrivals_[index]; }
  // The adapters a request can go out on.
  const std::vector<Adapter>& SendAdapters() const { return sendAdapters_; }
  // The adapter a device's reply came in on, when this PC lists it and a
  // request can go out on it.
  const Adapter* ArrivalAdapter(std::size_t index) const;
  bool ReceiverOpen() const { return receiver_->IsOpen(); }
  // The request is out and its replies are being taken.
  bool WindowOpen() const { return window_->IsActive(); }
  bool Stopped() const { return stopped_; }

 private:
  void RepeatDiscovery();
  // One discovery request on every adapter it goes out on, recorded in the
  // report; the outcome is a failure only when it left on none.
  SendOutcome SendDiscovery();
  void OnDatagram(std::string_view datagram, const Arrival& arrival);
  void OnWindowEnded();

  const Services& services_;
  RunFrontEnd& frontEnd_;
  const Language language_;
  const std::chrono::milliseconds windowLength_;
  std::unique_ptr<ReplyReceiver> receiver_;
  std::unique_ptr<Timer> window_;
  std::unique_ptr<Timer> repeat_;
  std::function<void()> onEnded_;

  DeviceTable devices_{};
  std::int16_t lastDevice_ = -1;
  std::array<Arrival, kDeviceCount> arrivals_{};
  std::vector<Adapter> sendAdapters_;
  ScanReport report_;
  int requests_ = 0;  // sent in this scan
  bool stopped_ = false;
};

}  // namespace orvane

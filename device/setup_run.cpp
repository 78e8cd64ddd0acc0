#include "device/setup_run.h"

#include <vector>

#include "device/address_pick.h"
#include "device/codec.h"
#include "device/device_table.h"

namespace orvane {

namespace {

// The fixed English messages of a run, outside the text table.
constexpr std::string_view kInvalidSettings =
    "Your PC's IP address settings are invalid or not available.";
constexpr std::string_view kNoShortcuts = "Cannot create the shortcuts on your desktop.";

// Shows the busy cursor for as long as it lives.
class Busy {
 public:
  explicit Busy(RunFrontEnd& frontEnd) : frontEnd_(frontEnd) { frontEnd_.SetBusy(true); }
  ~Busy() { frontEnd_.SetBusy(false); }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  RunFrontEnd& frontEnd_;
};

}  // namespace

SetupRun::SetupRun(const Services& services, RunFrontEnd& frontEnd, Language language,
                   std::chrono::milliseconds scanWindow)
    : services_(services),
      frontEnd_(frontEnd),
      language_(language),
      scanWindowLength_(scanWindow),
      receiver_(services.receivers.MakeReceiver()),
      scanStart_(services.clock.MakeTimer()),
      scanWindow_(services.clock.MakeTimer()),
      replyTimeout_(services.clock.MakeTimer()),
      watchDeadline_(services.clock.MakeTimer()),
      watchNext_(services.clock.MakeTimer()) {
  receiver_->onDatagram = [this](std::string_view datagram, const Arrival& arrival) {
    if (!stopped_) OnDatagram(datagram, arrival);
  };
}

SetupRun::~SetupRun() {
  Stop();
}

void SetupRun::Stop() {
  stopped_ = true;
  awaitingReply_ = false;
  scanStart_->Stop();
  scanWindow_->Stop();
  replyTimeout_->Stop();
  watchDeadline_->Stop();
  watchNext_->Stop();
  receiver_->Close();
}

void SetupRun::Start() {
  outcome_ = RunOutcome::Running;
  ResetDevices(devices_, lastDevice_);
  frontEnd_.SetMark(Row::Scan, Mark::Running);
  // Read once, before the scan: the search and the request use these.
  settings_ = services_.settings.Read();
  adapters_ = services_.settings.ReadAdapters();
  sendAdapters_.clear();
  for (const Adapter& adapter : adapters_)
    if (CanSendOn(adapter)) sendAdapters_.push_back(adapter);
  report_ = {};
  arrivals_ = {};
  Status(TextId::Scanning);
  frontEnd_.Yield();
  if (stopped_) return;
  scanStart_->Start(kScanStartDelay, [this] {
    if (!stopped_) StartScan();
  });
}

void SetupRun::GoBack() {
  ResetDevices(devices_, lastDevice_);
  frontEnd_.ReturnToScanStart();
}

void SetupRun::StartScan() {
  OpenReceiver();
  if (stopped_) return;
  BroadcastDiscovery();
  if (stopped_) return;
  // The window starts once Broadcast has returned, that is after any failure
  // message has been closed.
  scanWindow_->Start(scanWindowLength_, [this] {
    if (!stopped_) OnScanWindowEnded();
  });
}

void SetupRun::OpenReceiver() {
  std::string error;
  const bool open = receiver_->Open(error);
  if (!awaitingReply_) {
    report_.portBound = open;
    report_.portError = error;
  }
  if (open) return;
  // Another program holds the port: the scan can only end with no device.
  Show({"Cannot receive replies on UDP port " + std::to_string(kReplyPort) + ": " + error +
            ".\r\nAnother program may be using this port.",
        std::string(kAppTitle), Buttons::Ok, Icon::Exclamation});
}

void SetupRun::CloseReceiver() {
  receiver_->Close();
}

void SetupRun::BroadcastDiscovery() {
  const std::string request = BuildDiscoveryRequest();
  report_.adapters.clear();
  for (const Adapter& adapter : sendAdapters_) report_.adapters.push_back({adapter});
  if (!SeveralAdapters()) {
    // One adapter (or none connected): the routes pick the way out, as on
    // any PC, and the wire sees exactly what it always saw.
    const SendOutcome outcome = services_.sender.Send(request);
    if (!report_.adapters.empty()) report_.adapters[0] = {sendAdapters_[0], true, outcome};
    AfterBroadcast(outcome);
    return;
  }
  // Several: the request goes out on each, so that a device on any network
  // of this PC hears it, not only one on the network of the default route.
  std::optional<SendOutcome> failure;
  bool sent = false;
  for (ScanReport::AdapterCheck& check : report_.adapters) {
    check.tried = true;
    check.outcome = services_.sender.SendVia(request, check.adapter);
    if (check.outcome.stage == SendOutcome::Stage::Sent)
      sent = true;
    else if (!failure)
      failure = check.outcome;
  }
  // Failing on one network of several is no failure of the scan; the report
  // names it.
  AfterBroadcast(sent ? SendOutcome{SendOutcome::Stage::Sent, 0} : *failure);
}

void SetupRun::Broadcast(std::string message, const Adapter* via) {
  const SendOutcome outcome =
      via ? services_.sender.SendVia(message, *via) : services_.sender.Send(message);
  Credentials::Wipe(message);
  AfterBroadcast(outcome);
}

void SetupRun::AfterBroadcast(const SendOutcome& outcome) {
  // A failure is shown and otherwise absorbed: the caller relies on its own
  // time-out.
  if (outcome.stage != SendOutcome::Stage::Sent) Show({BroadcastFailureMessage(outcome)});
  if (stopped_) return;
  // A reply that is already queued is handled before Broadcast returns.
  frontEnd_.Yield();
}

void SetupRun::OnDatagram(std::string_view datagram, const Arrival& arrival) {
  switch (ClassifyReply(datagram)) {
    case ReplyKind::Discovery:
      StoreDiscovery(datagram, arrival);
      break;
    case ReplyKind::Configuration:
      // A reply naming another device (a neighbour's, or a forged one) is
      // not this device's answer: the wait goes on until its own or the
      // time-out.
      if (awaitingReply_ && IsConfigReplyFor(datagram, devices_[selected_].DeviceId))
        OnConfigurationReply(datagram);
      else
        ++report_.otherDatagrams;
      break;
    case ReplyKind::Other:
      ++report_.otherDatagrams;
      break;
  }
}

void SetupRun::StoreDiscovery(std::string_view datagram, const Arrival& arrival) {
  ++report_.deviceReplies;
  if (SeveralAdapters()) {
    // The request went out on each adapter, so a device on a network that
    // two adapters share answers each, and a broadcast reply arrives on
    // both: one device, one row (by its 17-character identity). With one
    // adapter every reply keeps its row, as it always has.
    const std::string_view identity = datagram.substr(5, 17);
    for (std::int16_t i = 0; i <= lastDevice_; ++i)
      if (devices_[static_cast<std::size_t>(i)].DeviceId == identity) return;
  }
  if (StoreDiscoveryReply(devices_, lastDevice_, datagram))
    arrivals_[static_cast<std::size_t>(lastDevice_)] = arrival;
}

const Adapter* SetupRun::ArrivalAdapter(std::size_t index) const {
  const std::uint32_t interfaceIndex = arrivals_[index].interfaceIndex;
  if (interfaceIndex == 0) return nullptr;
  for (const Adapter& adapter : sendAdapters_)
    if (adapter.index == interfaceIndex) return &adapter;
  return nullptr;
}

void SetupRun::OnScanWindowEnded() {
  CloseReceiver();
  Status(TextId::ScanComplete);
  addressFound_ = false;
  if (lastDevice_ < 0) {
    frontEnd_.SetMark(Row::Scan, Mark::Failed);
    // With the receiver closed the port is free for one datagram from this
    // PC to itself: if even that is dropped, a firewall here is the cause.
    if (report_.portBound && !sendAdapters_.empty())
      report_.selfTest =
          services_.receivers.PortReachesItself(sendAdapters_[0].settings.LocalAddress);
    outcome_ = RunOutcome::NoDevice;
    BackToScanStart(TextId::NoDeviceFound, TextId::NoDeviceFoundMessage,
                    DescribeScanReport(report_, language_));
    return;
  }
  frontEnd_.SetMark(Row::Scan, Mark::Done);
  const std::optional<Choice> choice = ChooseDevice();
  if (stopped_) return;
  frontEnd_.Yield();
  if (stopped_) return;
  // The list ends only by a choice or by ending the program; should it ever
  // close without a choice, there is no device to go on with.
  if (!choice) {
    ReturnToScanStart(RunOutcome::NoChoice);
    return;
  }
  selected_ = choice->index;
  const DeviceRecord& device = devices_[selected_];
  if (choice->reachable) {
    // Already on the PC's network: its settings stay as they are.
    Status(TextId::DeviceReachable);
    frontEnd_.SetMark(Row::Access, Mark::Done);
    frontEnd_.SetMark(Row::Configuration, Mark::Done);
    frontEnd_.Yield();
    if (stopped_) return;
    outcome_ = RunOutcome::AlreadyReachable;
    FinishWithShortcuts(device.IpAddress, TextId::ReachableSetupComplete,
                        TextId::ReachableShortcutsNotice);
    return;
  }
  Status(TextId::DeviceUnreachable);
  // The check mark: the check itself was done, whatever it found.
  frontEnd_.SetMark(Row::Access, Mark::Done);
  // The device gets an address, mask and gateway of the network it answered
  // from, not of whichever adapter the PC lists first (a VPN, a container
  // bridge). On a PC with one adapter they are the same.
  if (const Adapter* adapter = ArrivalAdapter(selected_)) settings_ = adapter->settings;
  if (!SearchFreeAddress()) return;
  ConfigureDevice(device);
}

std::optional<SetupRun::Choice> SetupRun::ChooseDevice() {
  std::vector<DeviceRow> rows;
  {
    // Every row is probed before the list shows, so the user chooses knowing
    // which devices answer. The probes go out together: a list of eleven
    // silent devices is ready after one probe's 500 ms, not eleven.
    const Busy busy(frontEnd_);
    std::vector<std::string> addresses;
    for (std::int16_t i = 0; i <= lastDevice_; ++i)
      addresses.push_back(devices_[static_cast<std::size_t>(i)].IpAddress);
    const std::vector<ProbeResult> answers = services_.prober.ProbeAll(addresses);
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      const ProbeResult answer = i < answers.size() ? answers[i] : ProbeResult::CouldNotProbe;
      if (answer == ProbeResult::CouldNotProbe) SayCouldNotProbeOnce();
      if (stopped_) break;
      rows.push_back({&devices_[i], answer == ProbeResult::Answered});
    }
  }
  if (stopped_) return std::nullopt;
  const std::optional<std::size_t> row = frontEnd_.ChooseDevice(rows);
  if (stopped_ || !row || *row >= rows.size()) return std::nullopt;
  return Choice{*row, rows[*row].reachable};
}

bool SetupRun::SearchFreeAddress() {
  Status(TextId::SelectingAddress);
  for (int i = 0; i < kAddressCandidates; ++i) {
    newAddress_ = PickRandomAddress();
    if (stopped_) return false;
    if (newAddress_.empty() || newAddress_[0] == '0') {
      // No usable address of its own: the PC is not on a network to share.
      outcome_ = RunOutcome::PcNotConfigured;
      Show({Text(TextId::PcNetworkNotConfigured), Text(TextId::Warning)});
      if (!stopped_) frontEnd_.EndProgram();
      return false;
    }
    ProbeResult answer = ProbeResult::CouldNotProbe;
    {
      const Busy busy(frontEnd_);  // a free candidate blocks for the whole 500 ms
      answer = services_.prober.Probe(newAddress_);
    }
    if (answer == ProbeResult::CouldNotProbe) SayCouldNotProbeOnce();
    if (stopped_) return false;
    bool free = false;
    {
      const Busy busy(frontEnd_);
      free = CandidateIsFree(answer);
    }
    frontEnd_.Yield();
    if (stopped_) return false;
    if (free) {
      frontEnd_.SetStatus(Text(TextId::AddressLocated) + newAddress_);
      addressFound_ = true;
      return true;
    }
  }
  if (stopped_) return false;
  outcome_ = RunOutcome::NoFreeAddress;
  BackToScanStart(TextId::NoFreeAddress, TextId::NoFreeAddressMessage);
  return false;
}

bool SetupRun::CandidateIsFree(ProbeResult answer) {
  switch (answer) {
    case ProbeResult::Answered:
    case ProbeResult::InvalidAddress:
      return false;
    case ProbeResult::NoAnswer:
      // A dropped echo proves nothing: firewalled PCs and printers hold
      // their address without answering. A host that answered ARP for it
      // during the echo does hold it.
      return services_.prober.AskNeighbour(newAddress_, false) != NeighbourAnswer::Held;
    case ProbeResult::CouldNotProbe:
      break;
  }
  // No echo can leave this PC: ARP alone decides, and only an address the
  // link was asked about and no host claimed is free.
  return services_.prober.AskNeighbour(newAddress_, true) == NeighbourAnswer::Silent;
}

std::string SetupRun::PickRandomAddress() {
  const Candidate candidate =
      orvane::PickRandomAddress(settings_.LocalAddress, services_.candidates);
  if (!candidate.settingsValid) Show({std::string(kInvalidSettings)});
  return candidate.address;
}

void SetupRun::SayCouldNotProbeOnce() {
  // Once a run: a list of devices would otherwise say it for every row.
  if (toldCouldNotProbe_) return;
  toldCouldNotProbe_ = true;
  const std::string reason = services_.prober.CouldNotProbeReason();
  Show({"Cannot send echo requests (ping) from this PC" + (reason.empty() ? "" : ": " + reason) +
            ".\r\nWhether a device or an address answers cannot be checked.",
        std::string(kAppTitle), Buttons::Ok, Icon::Exclamation});
}

void SetupRun::ConfigureDevice(const DeviceRecord& device) {
  std::optional<Credentials> credentials = frontEnd_.AskCredentials();
  if (!credentials) {
    // The user cancelled the setup: nothing is sent, no time-out is armed.
    if (!stopped_) ReturnToScanStart(RunOutcome::Cancelled);
    return;
  }
  // The password is needed for this one request only: it goes into the
  // request at once, and the request is wiped once sent or not to be sent.
  std::string request =
      ComposeConfigRequest(device, newAddress_, settings_.LocalNetmask, settings_.LocalGateway,
                           credentials->userName, credentials->password);
  credentials->WipePassword();
  if (stopped_) return Credentials::Wipe(request);
  replyTimeout_->Start(kReplyTimeout, [this] {
    if (!stopped_) OnReplyTimeout();
  });
  Status(TextId::ConfigurationStarted);
  awaitingReply_ = true;
  OpenReceiver();
  if (stopped_) return Credentials::Wipe(request);
  // The run goes on in the reply handling or in the time-out. On a PC with
  // several networks the request goes out by the one the device answered on.
  Broadcast(std::move(request), SeveralAdapters() ? ArrivalAdapter(selected_) : nullptr);
}

void SetupRun::OnConfigurationReply(std::string_view datagram) {
  // The configuration phase ends with any reply: no time-out, no second reply.
  awaitingReply_ = false;
  replyTimeout_->Stop();
  CloseReceiver();
  if (ParseConfigReply(datagram) == ConfigStatus::Success) {
    frontEnd_.SetMark(Row::Configuration, Mark::Done);
    Status(TextId::ConfigurationSucceeded);
    WatchNewAddress();
    return;
  }
  // A status that selects no outcome is shown as a failure too, so the user
  // is never left with both buttons disabled and nothing to do.
  frontEnd_.SetMark(Row::Configuration, Mark::Failed);
  Status(TextId::ConfigurationFailed);
  outcome_ = RunOutcome::Refused;
  frontEnd_.EnableLeaving();
}

void SetupRun::OnReplyTimeout() {
  awaitingReply_ = false;
  Status(TextId::NoReply);
  frontEnd_.SetMark(Row::Configuration, Mark::Failed);
  CloseReceiver();
  outcome_ = RunOutcome::NoReply;
  // Text 54 asks the user to run the setup again, which needs Previous.
  frontEnd_.EnableLeaving();
}

void SetupRun::WatchNewAddress() {
  // The shortcuts are offered once the device answers where they point, or
  // after kWatchNewAddress at most; the watch only decides one sentence.
  watchDeadline_->Start(kWatchNewAddress, [this] {
    if (stopped_) return;
    watchNext_->Stop();
    outcome_ = RunOutcome::Configured;
    FinishWithShortcuts(newAddress_, TextId::SetupComplete, TextId::ShortcutsNotice, false);
  });
  OnWatchTick();
}

void SetupRun::OnWatchTick() {
  bool there = false;
  {
    const Busy busy(frontEnd_);
    const ProbeResult answer = services_.prober.Probe(newAddress_);
    // An echo, or else ARP: a device that drops echoes still answers ARP.
    there = answer == ProbeResult::Answered ||
            services_.prober.AskNeighbour(newAddress_, answer == ProbeResult::CouldNotProbe) ==
                NeighbourAnswer::Held;
  }
  if (stopped_) return;
  if (there) {
    watchDeadline_->Stop();
    // The shortcuts point at the new address, not the one the scan saw.
    outcome_ = RunOutcome::Configured;
    FinishWithShortcuts(newAddress_, TextId::SetupComplete, TextId::ShortcutsNotice);
    return;
  }
  if (!watchDeadline_->IsActive()) return;
  watchNext_->Start(kWatchPause, [this] {
    if (!stopped_) OnWatchTick();
  });
}

void SetupRun::FinishWithShortcuts(const std::string& address, TextId done, TextId notice,
                                   bool answeredThere) {
  const DesktopResult made =
      services_.desktop.CreateShortcuts(address, devices_[selected_].HostName);
  // Never report shortcuts that were not made: the failure is shown, and the
  // run still ends as it would have, with the offer to open the targets.
  frontEnd_.SetMark(Row::Shortcuts, made.ok ? Mark::Done : Mark::Failed);
  frontEnd_.SetStatus(made.ok ? Text(done) : std::string(kNoShortcuts));
  frontEnd_.EnableLeaving();
  if (made.ok) {
    Show({Text(notice) + (answeredThere ? "" : "\r\n\r\n" + Text(TextId::NotAnsweringYet)),
          Text(TextId::Warning)});
  } else {
    Show({std::string(kNoShortcuts) + "\r\n" + made.error, std::string(kAppTitle), Buttons::Ok,
          Icon::Exclamation});
  }
  if (stopped_) return;
  const Answer open =
      Show({Text(TextId::OpenShortcutsQuestion), Text(TextId::Warning), Buttons::OkCancel});
  if (open == Answer::Ok && !stopped_) {
    const DesktopResult opened = services_.desktop.OpenShortcutTargets(address);
    if (!opened.ok)
      Show({"Cannot open the shortcuts.\r\n" + opened.error, std::string(kAppTitle), Buttons::Ok,
            Icon::Exclamation});
  }
  if (stopped_) return;
  frontEnd_.EndProgram();
}

void SetupRun::ReturnToScanStart(RunOutcome outcome) {
  outcome_ = outcome;
  frontEnd_.ReturnToScanStart();
}

void SetupRun::BackToScanStart(TextId status, TextId message, const std::string& details) {
  Status(status);
  Message box{Text(message)};
  if (!details.empty()) {
    box.details = details;
    box.detailsButton = Text(TextId::ChecksButton);
  }
  Show(box);
  if (stopped_) return;
  frontEnd_.ReturnToScanStart();
}

Answer SetupRun::Show(Message message) {
  return frontEnd_.ShowMessage(message);
}

}  // namespace orvane

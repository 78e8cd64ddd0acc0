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

SetupRun::SetupRun(const Services& services, RunFrontEnd& frontEnd, Language language)
    : services_(services),
      frontEnd_(frontEnd),
      language_(language),
      receiver_(services.receivers.MakeReceiver()),
      scanStart_(services.clock.MakeTimer()),
      scanWindow_(services.clock.MakeTimer()),
      replyTimeout_(services.clock.MakeTimer()) {
  receiver_->onDatagram = [this](std::string_view datagram) {
    if (!stopped_) OnDatagram(datagram);
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
  receiver_->Close();
}

void SetupRun::Start() {
  ResetDevices(devices_, lastDevice_);
  frontEnd_.SetMark(Row::Scan, Mark::Running);
  // Read once, before the scan: the search and the request use these.
  settings_ = services_.settings.Read();
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
  Broadcast(BuildDiscoveryRequest());
  if (stopped_) return;
  // The window starts once Broadcast has returned, that is after any failure
  // message has been closed.
  scanWindow_->Start(kScanWindow, [this] {
    if (!stopped_) OnScanWindowEnded();
  });
}

void SetupRun::OpenReceiver() {
  std::string error;
  if (receiver_->Open(error)) return;
  // Another program holds the port: the scan can only end with no device.
  Show({"Cannot receive replies on UDP port " + std::to_string(kReplyPort) + ": " + error +
            ".\r\nAnother program may be using this port.",
        std::string(kAppTitle), Buttons::Ok, Icon::Exclamation});
}

void SetupRun::CloseReceiver() {
  receiver_->Close();
}

void SetupRun::Broadcast(std::string message) {
  const SendOutcome outcome = services_.sender.Send(message);
  Credentials::Wipe(message);
  // A failure is shown and otherwise absorbed: the caller relies on its own
  // time-out.
  if (outcome.stage != SendOutcome::Stage::Sent) Show({BroadcastFailureMessage(outcome)});
  if (stopped_) return;
  // A reply that is already queued is handled before Broadcast returns.
  frontEnd_.Yield();
}

void SetupRun::OnDatagram(std::string_view datagram) {
  switch (ClassifyReply(datagram)) {
    case ReplyKind::Discovery:
      StoreDiscoveryReply(devices_, lastDevice_, datagram);
      break;
    case ReplyKind::Configuration:
      // A reply naming another device (a neighbour's, or a forged one) is
      // not this device's answer: the wait goes on until its own or the
      // time-out.
      if (awaitingReply_ && IsConfigReplyFor(datagram, devices_[selected_].DeviceId))
        OnConfigurationReply(datagram);
      break;
    case ReplyKind::Other:
      break;
  }
}

void SetupRun::OnScanWindowEnded() {
  CloseReceiver();
  Status(TextId::ScanComplete);
  addressFound_ = false;
  if (lastDevice_ < 0) {
    frontEnd_.SetMark(Row::Scan, Mark::Failed);
    BackToScanStart(TextId::NoDeviceFound, TextId::NoDeviceFoundMessage);
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
    frontEnd_.ReturnToScanStart();
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
    FinishWithShortcuts(device.IpAddress, TextId::ReachableSetupComplete,
                        TextId::ReachableShortcutsNotice);
    return;
  }
  Status(TextId::DeviceUnreachable);
  // The check mark: the check itself was done, whatever it found.
  frontEnd_.SetMark(Row::Access, Mark::Done);
  if (!SearchFreeAddress()) return;
  ConfigureDevice(device);
}

std::optional<SetupRun::Choice> SetupRun::ChooseDevice() {
  std::vector<DeviceRow> rows;
  {
    // Every row is probed before the list shows: the user chooses knowing
    // which devices answer.
    const Busy busy(frontEnd_);
    for (std::int16_t i = 0; i <= lastDevice_ && !stopped_; ++i) {
      const DeviceRecord& device = devices_[static_cast<std::size_t>(i)];
      rows.push_back({&device, IsReachable(device.IpAddress)});
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
      Show({Text(TextId::PcNetworkNotConfigured), Text(TextId::Warning)});
      if (!stopped_) frontEnd_.EndProgram();
      return false;
    }
    ProbeResult answer = ProbeResult::CouldNotProbe;
    {
      const Busy busy(frontEnd_);  // a free candidate blocks for the whole 500 ms
      answer = services_.prober.Probe(newAddress_);
    }
    frontEnd_.Yield();
    if (stopped_) return false;
    if (answer == ProbeResult::NoAnswer) {
      frontEnd_.SetStatus(Text(TextId::AddressLocated) + newAddress_);
      addressFound_ = true;
      return true;
    }
    // Only a candidate that was really probed and stayed silent is free: one
    // that could not be probed may well be in use, and so may all the others.
    if (answer == ProbeResult::CouldNotProbe) {
      SayCouldNotProbeOnce();
      break;
    }
  }
  if (stopped_) return false;
  BackToScanStart(TextId::NoFreeAddress, TextId::NoFreeAddressMessage);
  return false;
}

std::string SetupRun::PickRandomAddress() {
  const Candidate candidate =
      orvane::PickRandomAddress(settings_.LocalAddress, services_.candidates);
  if (!candidate.settingsValid) Show({std::string(kInvalidSettings)});
  return candidate.address;
}

bool SetupRun::IsReachable(const std::string& address) {
  const ProbeResult answer = services_.prober.Probe(address);
  if (answer == ProbeResult::CouldNotProbe) SayCouldNotProbeOnce();
  return answer == ProbeResult::Answered;
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
    if (!stopped_) frontEnd_.ReturnToScanStart();
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
  // The run goes on in the reply handling or in the time-out.
  Broadcast(std::move(request));
}

void SetupRun::OnConfigurationReply(std::string_view datagram) {
  // The configuration phase ends with any reply: no time-out, no second reply.
  awaitingReply_ = false;
  replyTimeout_->Stop();
  CloseReceiver();
  if (ParseConfigReply(datagram) == ConfigStatus::Success) {
    frontEnd_.SetMark(Row::Configuration, Mark::Done);
    Status(TextId::ConfigurationSucceeded);
    // The shortcuts point at the new address, not the one the scan saw.
    FinishWithShortcuts(newAddress_, TextId::SetupComplete, TextId::ShortcutsNotice);
    return;
  }
  // A status that selects no outcome is shown as a failure too, so the user
  // is never left with both buttons disabled and nothing to do.
  frontEnd_.SetMark(Row::Configuration, Mark::Failed);
  Status(TextId::ConfigurationFailed);
  frontEnd_.EnableLeaving();
}

void SetupRun::OnReplyTimeout() {
  awaitingReply_ = false;
  Status(TextId::NoReply);
  frontEnd_.SetMark(Row::Configuration, Mark::Failed);
  CloseReceiver();
  // Text 54 asks the user to run the setup again, which needs Previous.
  frontEnd_.EnableLeaving();
}

void SetupRun::FinishWithShortcuts(const std::string& address, TextId done, TextId notice) {
  const DesktopResult made =
      services_.desktop.CreateShortcuts(address, devices_[selected_].HostName);
  // Never report shortcuts that were not made: the failure is shown, and the
  // run still ends as it would have, with the offer to open the targets.
  frontEnd_.SetMark(Row::Shortcuts, made.ok ? Mark::Done : Mark::Failed);
  frontEnd_.SetStatus(made.ok ? Text(done) : std::string(kNoShortcuts));
  frontEnd_.EnableLeaving();
  if (made.ok) {
    Show({Text(notice), Text(TextId::Warning)});
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

void SetupRun::BackToScanStart(TextId status, TextId message) {
  Status(status);
  Show({Text(message)});
  if (stopped_) return;
  frontEnd_.ReturnToScanStart();
}

Answer SetupRun::Show(Message message) {
  return frontEnd_.ShowMessage(message);
}

}  // namespace orvane

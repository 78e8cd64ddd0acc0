#include "device/setup_run.h"

#include <vector>

#include "desktop/shortcuts.h"
#include "device/address_pick.h"
#include "device/codec.h"
#include "device/device_table.h"
#include "device/sighting.h"
#include "hostnet/ipv4_text.h"

namespace orvane {

namespace {

// The fixed English message of a run, outside the text table, the same in
// both languages.
constexpr std::string_view kInvalidSettings =
    "Your PC's IP address settings are invalid or not available.";

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
      discoveryRepeat_(services.clock.MakeTimer()),
      replyTimeout_(services.clock.MakeTimer()),
      lookWhileWaiting_(services.clock.MakeTimer()),
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
  discoveryRepeat_->Stop();
  replyTimeout_->Stop();
  lookWhileWaiting_->Stop();
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
  frontEnd_.LetEventsRun();
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
  RepeatDiscovery();
}

void SetupRun::RepeatDiscovery() {
  if (discoveryRequests_ >= kDiscoveryRequests) return;
  discoveryRepeat_->Start(kDiscoveryRepeat, [this] {
    if (stopped_ || !scanWindow_->IsActive()) return;
    // A repeat that fails says nothing the first request has not said; the
    // report keeps what happened on each adapter.
    SendDiscovery();
    ++discoveryRequests_;
    RepeatDiscovery();
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
  Show({FillText(Text(TextId::CannotReceiveReplies), {error}) + "\r\n" +
            Text(TextId::PortMayBeInUse),
        std::string(kAppTitle), Buttons::Ok, Icon::Exclamation});
}

void SetupRun::CloseReceiver() {
  receiver_->Close();
}

void SetupRun::BroadcastDiscovery() {
  report_.adapters.clear();
  for (const Adapter& adapter : sendAdapters_) report_.adapters.push_back({adapter});
  discoveryRequests_ = 1;
  AfterBroadcast(SendDiscovery());
}

SendOutcome SetupRun::SendDiscovery() {
  const std::string request = BuildDiscoveryRequest();
  // An adapter counts as sent on once any request left on it; until then
  // the report keeps its first failure.
  const auto record = [](ScanReport::AdapterCheck& check, const SendOutcome& outcome) {
    if (!check.tried || outcome.stage == SendOutcome::Stage::Sent) check.outcome = outcome;
    check.tried = true;
  };
  if (!SeveralAdapters()) {
    // One adapter (or none connected): the routes pick the way out, as for
    // any other program, and the request is the plain broadcast a device
    // expects, with no adapter forced.
    const SendOutcome outcome = services_.sender.Send(request);
    if (!report_.adapters.empty()) record(report_.adapters[0], outcome);
    return outcome;
  }
  // Several: the request goes out on each, so that a device on any network
  // of this PC hears it, not only one on the network of the default route.
  std::optional<SendOutcome> failure;
  bool sent = false;
  for (ScanReport::AdapterCheck& check : report_.adapters) {
    const SendOutcome outcome = services_.sender.SendVia(request, check.adapter);
    record(check, outcome);
    if (outcome.stage == SendOutcome::Stage::Sent)
      sent = true;
    else if (!failure)
      failure = outcome;
  }
  // Failing on one network of several is no failure of the scan; the report
  // names it.
  return sent ? SendOutcome{SendOutcome::Stage::Sent, 0} : *failure;
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
  frontEnd_.LetEventsRun();
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
  DeviceRecord read;
  if (!ParseDiscoveryReply(datagram, read)) {
    // Not a reply the list could show: the report counts it with the rest.
    ++report_.otherDatagrams;
    return;
  }
  // The request goes out several times and on every adapter, and a device
  // answers each one it hears (a broadcast reply arrives on every adapter
  // of its network): one device, one row, by its 17-character identity, in
  // the place and with the adapter of its first reply.
  for (std::int16_t i = 0; i <= lastDevice_; ++i)
    if (devices_[static_cast<std::size_t>(i)].DeviceId == read.DeviceId) return;
  if (!StoreDiscoveryReply(devices_, lastDevice_, datagram)) {
    ++report_.otherDatagrams;  // the table is full: not listed
    return;
  }
  arrivals_[static_cast<std::size_t>(lastDevice_)] = arrival;
  ++report_.deviceReplies;
}

const Adapter* SetupRun::ArrivalAdapter(std::size_t index) const {
  const std::uint32_t interfaceIndex = arrivals_[index].interfaceIndex;
  if (interfaceIndex == 0) return nullptr;
  for (const Adapter& adapter : sendAdapters_)
    if (adapter.index == interfaceIndex) return &adapter;
  return nullptr;
}

void SetupRun::OnScanWindowEnded() {
  discoveryRepeat_->Stop();
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
    report_.firewall = services_.receivers.ReadFirewall();
    outcome_ = RunOutcome::NoDevice;
    BackToScanStart(TextId::NoDeviceFound, TextId::NoDeviceFoundMessage,
                    DescribeScanReport(report_, language_));
    return;
  }
  frontEnd_.SetMark(Row::Scan, Mark::Done);
  const std::optional<Choice> choice = ChooseDevice();
  if (stopped_) return;
  frontEnd_.LetEventsRun();
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
    frontEnd_.LetEventsRun();
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
    // silent devices is ready after one probe's 500 ms, not eleven. A device
    // may report its address with blanks around it; the shortcuts drop them,
    // and so does the probe, or the device would be listed "No" and moved
    // for nothing.
    const Busy busy(frontEnd_);
    std::vector<std::string> addresses;
    for (std::int16_t i = 0; i <= lastDevice_; ++i)
      addresses.emplace_back(TrimBlanks(devices_[static_cast<std::size_t>(i)].IpAddress));
    const std::vector<ProbeResult> answers = services_.prober.ProbeAll(addresses);
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      const ProbeResult answer = i < answers.size() ? answers[i] : ProbeResult::CouldNotProbe;
      if (answer == ProbeResult::CouldNotProbe) SayCouldNotProbeOnce();
      if (stopped_) break;
      rows.push_back({&devices_[i],
                      answer == ProbeResult::Answered || AnswersArpOnALink(devices_[i], answer)});
    }
  }
  if (stopped_) return std::nullopt;
  const std::optional<std::size_t> row = frontEnd_.ChooseDevice(rows);
  if (stopped_ || !row || *row >= rows.size()) return std::nullopt;
  return Choice{*row, rows[*row].reachable};
}

bool SetupRun::AnswersArpOnALink(const DeviceRecord& device, ProbeResult echo) {
  if (echo != ProbeResult::NoAnswer && echo != ProbeResult::CouldNotProbe) return false;
  // A NAS with its own firewall on drops echoes; moving it would break every
  // share mapped to its address. Only ARP on a link of this PC can speak for
  // it, and only with the device's own hardware address.
  if (!ParseHardwareAddress(device.DeviceId)) return false;
  const std::string trimmed(TrimBlanks(device.IpAddress));
  const std::optional<std::uint32_t> address = ParseDottedQuad(trimmed);
  if (!address) return false;
  bool onLink = false;
  for (const Adapter& adapter : sendAdapters_) {
    const auto own = ParseDottedQuad(adapter.settings.LocalAddress);
    const auto mask = ParseDottedQuad(adapter.settings.LocalNetmask);
    onLink = onLink || (own && mask && (*own & *mask) == (*address & *mask));
  }
  if (!onLink) return false;
  // The echo just sent left the answer in the table; without one, ask.
  return AnswersArpAsItself(
      device.DeviceId, services_.prober.AskNeighbour(trimmed, echo == ProbeResult::CouldNotProbe));
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
    // This PC's own address, its gateway and the subnet's network and
    // broadcast addresses are never given out. Such a draw uses up its try
    // unprobed, as the probe of a busy address would, so a search always
    // ends after 20 draws.
    if (IsNeverCandidate(newAddress_, settings_)) continue;
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
    frontEnd_.LetEventsRun();
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
      return services_.prober.AskNeighbour(newAddress_, false).answer != NeighbourAnswer::Held;
    case ProbeResult::CouldNotProbe:
      break;
  }
  // No echo can leave this PC: ARP alone decides, and only an address the
  // link was asked about and no host claimed is free.
  return services_.prober.AskNeighbour(newAddress_, true).answer == NeighbourAnswer::Silent;
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
  Show({(reason.empty() ? Text(TextId::CannotPing)
                        : FillText(Text(TextId::CannotPingBecause), {reason})) +
            "\r\n" + Text(TextId::AnswersCannotBeChecked),
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
                           credentials->userName, credentials->password.View());
  credentials->WipePassword();
  if (stopped_) return Credentials::Wipe(request);
  replyTimeout_->Start(kReplyTimeout, [this] {
    if (!stopped_) OnReplyTimeout();
  });
  Status(TextId::ConfigurationStarted);
  awaitingReply_ = true;
  OpenReceiver();
  if (stopped_) return Credentials::Wipe(request);
  // The run goes on in the reply handling, the look at the new address or
  // the time-out. On a PC with several networks the request goes out by the
  // one the device answered on.
  Broadcast(std::move(request), SeveralAdapters() ? ArrivalAdapter(selected_) : nullptr);
  if (!stopped_ && awaitingReply_) LookWhileWaiting();
}

void SetupRun::LookWhileWaiting() {
  lookWhileWaiting_->Start(kLookWhileWaiting, [this] {
    if (stopped_ || !awaitingReply_) return;
    // The address was proven free just before the request: a host there now
    // is the device, unless ARP names another hardware address than its
    // identity. A refusal that arrives first still ends the run as refused.
    const Neighbour arp = services_.prober.LookNeighbour(newAddress_);
    if (DeviceIsThere(devices_[selected_].DeviceId, false, arp))
      FoundWithoutReply();
    else
      LookWhileWaiting();
  });
}

void SetupRun::FoundWithoutReply() {
  // The device acted on the request and its reply was lost on the way: a
  // success, said to be unconfirmed. No second watch: it was just seen there.
  awaitingReply_ = false;
  replyTimeout_->Stop();
  CloseReceiver();
  frontEnd_.SetMark(Row::Configuration, Mark::Done);
  Status(TextId::ConfigurationSucceeded);
  outcome_ = RunOutcome::Configured;
  FinishWithShortcuts(newAddress_, TextId::SetupComplete, TextId::ShortcutsNotice,
                      TextId::FoundWithoutConfirmation);
}

void SetupRun::OnConfigurationReply(std::string_view datagram) {
  // The configuration phase ends with any reply: no time-out, no second reply.
  awaitingReply_ = false;
  replyTimeout_->Stop();
  lookWhileWaiting_->Stop();
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
  lookWhileWaiting_->Stop();
  Status(TextId::NoReply);
  frontEnd_.SetMark(Row::Configuration, Mark::Failed);
  CloseReceiver();
  outcome_ = RunOutcome::NoReply;
  // TextId::NoReply asks the user to run the setup again, which needs Previous.
  frontEnd_.EnableLeaving();
}

void SetupRun::WatchNewAddress() {
  // The shortcuts are offered once the device answers where they point, or
  // after kWatchNewAddress at most; the watch only decides one sentence.
  watchDeadline_->Start(kWatchNewAddress, [this] {
    if (stopped_) return;
    watchNext_->Stop();
    outcome_ = RunOutcome::Configured;
    FinishWithShortcuts(newAddress_, TextId::SetupComplete, TextId::ShortcutsNotice,
                        TextId::NotAnsweringYet);
  });
  OnWatchTick();
}

void SetupRun::OnWatchTick() {
  bool there = false;
  {
    const Busy busy(frontEnd_);
    const ProbeResult answer = services_.prober.Probe(newAddress_);
    // An echo, or else ARP: a device that drops echoes still answers ARP.
    // Where ARP names the host's hardware address, it must be the device's.
    there = DeviceIsThere(
        devices_[selected_].DeviceId, answer == ProbeResult::Answered,
        services_.prober.AskNeighbour(newAddress_, answer == ProbeResult::CouldNotProbe));
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
                                   std::optional<TextId> postscript) {
  const DesktopResult made = services_.desktop.CreateShortcuts(
      address, devices_[selected_].HostName, ThisPcCodePage(LegacyCodePage(language_)));
  // Never report shortcuts that were not made: the failure is shown, and the
  // run still ends as it would have, with the offer to open the targets.
  // Shortcuts the user did not want are no failure: the status says so.
  frontEnd_.SetMark(Row::Shortcuts, made.ok        ? Mark::Done
                                    : made.skipped ? Mark::None
                                                   : Mark::Failed);
  frontEnd_.SetStatus(made.ok ? Text(done) : made.skipped ? made.error : Text(TextId::NoShortcuts));
  frontEnd_.EnableLeaving();
  if (made.ok || made.skipped) {
    std::string text = made.ok ? Text(notice) : std::string();
    if (postscript) text += (text.empty() ? "" : "\r\n\r\n") + Text(*postscript);
    if (!text.empty()) Show({text, Text(TextId::Warning)});
  } else {
    Show({Text(TextId::NoShortcuts) + "\r\n" + made.error, std::string(kAppTitle), Buttons::Ok,
          Icon::Exclamation});
  }
  if (stopped_) return;
  const Answer open =
      Show({Text(TextId::OpenShortcutsQuestion), Text(TextId::Warning), Buttons::OkCancel});
  if (open == Answer::Ok && !stopped_) {
    const DesktopResult opened = services_.desktop.OpenShortcutTargets(address);
    if (!opened.ok)
      Show({Text(TextId::CannotOpenShortcuts) + "\r\n" + opened.error, std::string(kAppTitle),
            Buttons::Ok, Icon::Exclamation});
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

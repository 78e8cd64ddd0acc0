#include "device/setup_run.h"

#include <span>
#include <vector>

#include "desktop/shortcuts.h"
#include "device/codec.h"
#include "device/sighting.h"

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
      scan_(services, frontEnd, language, scanWindow),
      scanStart_(services.clock.MakeTimer()),
      replyTimeout_(services.clock.MakeTimer()),
      lookWhileWaiting_(services.clock.MakeTimer()),
      watchDeadline_(services.clock.MakeTimer()),
      watchNext_(services.clock.MakeTimer()) {}

SetupRun::~SetupRun() {
  Stop();
}

void SetupRun::Stop() {
  phase_ = RunPhase::Stopped;
  scan_.Stop();
  scanStart_->Stop();
  StopWaiting();
  watchDeadline_->Stop();
  watchNext_->Stop();
}

void SetupRun::StopWaiting() {
  replyTimeout_->Stop();
  lookWhileWaiting_->Stop();
  if (replies_) replies_->Close();
}

bool SetupRun::Enter(RunPhase phase) {
  if (Stopped()) return false;
  phase_ = phase;
  return true;
}

bool SetupRun::LetEventsRun() {
  frontEnd_.LetEventsRun();
  return !Stopped();
}

bool SetupRun::ReceiverOpen() const {
  return scan_.ReceiverOpen() || (replies_ && replies_->IsOpen());
}

void SetupRun::Start() {
  if (!Enter(RunPhase::Starting)) return;
  outcome_ = RunOutcome::Running;
  scan_.Clear();
  frontEnd_.SetMark(Row::Scan, Mark::Running);
  // Read once, before the scan: the search and the request use these.
  settings_ = services_.settings.Read();
  Status(TextId::Scanning);
  if (!LetEventsRun()) return;
  scanStart_->Start(kScanStartDelay, [this] {
    if (Enter(RunPhase::Scanning)) scan_.Start([this] { OnScanEnded(); });
  });
}

void SetupRun::GoBack() {
  scan_.Clear();
  if (Enter(RunPhase::Idle)) frontEnd_.ReturnToScanStart();
}

void SetupRun::OnScanEnded() {
  if (Stopped()) return;
  Status(TextId::ScanComplete);
  if (scan_.LastDevice() < 0) {
    frontEnd_.SetMark(Row::Scan, Mark::Failed);
    BackToScanStart(RunOutcome::NoDevice, TextId::NoDeviceFound, TextId::NoDeviceFoundMessage,
                    DescribeScanReport(scan_.Report(), language_));
    return;
  }
  frontEnd_.SetMark(Row::Scan, Mark::Done);
  if (!Enter(RunPhase::Choosing)) return;
  const std::optional<Choice> choice = ChooseDevice();
  if (Stopped() || !LetEventsRun()) return;
  // The list ends only by a choice or by ending the program; should it ever
  // close without a choice, there is no device to go on with.
  if (!choice) return ReturnToScanStart(RunOutcome::NoChoice);
  selected_ = choice->index;
  const DeviceRecord& device = scan_.Devices()[selected_];
  if (choice->reachable) {
    // Already on the PC's network: its settings stay as they are.
    Status(TextId::DeviceReachable);
    frontEnd_.SetMark(Row::Access, Mark::Done);
    frontEnd_.SetMark(Row::Configuration, Mark::Done);
    if (!LetEventsRun()) return;
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
  if (const Adapter* adapter = scan_.ArrivalAdapter(selected_)) settings_ = adapter->settings;
  if (SearchFreeAddress()) ConfigureDevice(device);
}

std::optional<SetupRun::Choice> SetupRun::ChooseDevice() {
  // Every row is checked before the list shows, so the user chooses knowing
  // which devices answer.
  const std::span<const DeviceRecord> found(scan_.Devices().data(),
                                            static_cast<std::size_t>(scan_.LastDevice() + 1));
  DeviceChecks checks;
  {
    const Busy busy(frontEnd_);
    checks = CheckDevices(services_.prober, found, scan_.SendAdapters());
  }
  if (checks.couldNotProbe) SayCouldNotProbeOnce();
  if (Stopped()) return std::nullopt;
  std::vector<DeviceRow> rows;
  for (std::size_t i = 0; i < found.size(); ++i) rows.push_back({&found[i], checks.reachable[i]});
  const std::optional<std::size_t> row = frontEnd_.ChooseDevice(rows);
  if (Stopped() || !row || *row >= rows.size()) return std::nullopt;
  return Choice{*row, rows[*row].reachable};
}

bool SetupRun::SearchFreeAddress() {
  if (!Enter(RunPhase::Searching)) return false;
  Status(TextId::SelectingAddress);
  FreeAddressSearch search(services_.prober, services_.candidates, settings_);
  for (;;) {
    std::optional<CandidateTry> tried;
    {
      const Busy busy(frontEnd_);  // a free candidate blocks for the whole 500 ms
      tried = search.Next();
    }
    if (!tried) break;
    newAddress_ = tried->address;
    if (tried->settingsInvalid) Show({std::string(kInvalidSettings)});
    if (Stopped()) return false;
    if (tried->verdict == CandidateTry::Verdict::NoOwnAddress) {
      outcome_ = RunOutcome::PcNotConfigured;
      Show({Text(TextId::PcNetworkNotConfigured), Text(TextId::Warning)});
      if (!Stopped()) frontEnd_.EndProgram();
      return false;
    }
    if (tried->verdict == CandidateTry::Verdict::NeverOffered) continue;
    if (tried->couldNotProbe) SayCouldNotProbeOnce();
    if (Stopped() || !LetEventsRun()) return false;
    if (tried->verdict == CandidateTry::Verdict::Free) {
      frontEnd_.SetStatus(Text(TextId::AddressLocated) + newAddress_);
      return true;
    }
  }
  BackToScanStart(RunOutcome::NoFreeAddress, TextId::NoFreeAddress, TextId::NoFreeAddressMessage);
  return false;
}

void SetupRun::SayCouldNotProbeOnce() {
  // Once a run: a list of devices would otherwise say it for every row.
  if (toldCouldNotProbe_) return;
  toldCouldNotProbe_ = true;
  Show({CouldNotProbeText(services_.prober.CouldNotProbeReason(), language_),
        std::string(kAppTitle), Buttons::Ok, Icon::Exclamation});
}

void SetupRun::ConfigureDevice(const DeviceRecord& device) {
  if (!Enter(RunPhase::Configuring)) return;
  std::optional<Credentials> credentials = frontEnd_.AskCredentials();
  if (!credentials) {
    // The user cancelled the setup: nothing is sent, no time-out is armed.
    if (!Stopped()) ReturnToScanStart(RunOutcome::Cancelled);
    return;
  }
  // The password is needed for this one request only: it goes into the
  // request at once, and the request is wiped once sent or not to be sent.
  std::string request =
      ComposeConfigRequest(device, newAddress_, settings_.LocalNetmask, settings_.LocalGateway,
                           credentials->userName, credentials->password.View());
  credentials->WipePassword();
  if (!Enter(RunPhase::AwaitingReply)) return Credentials::Wipe(request);
  replyTimeout_->Start(kReplyTimeout, [this] {
    if (AwaitingReply()) OnReplyTimeout();
  });
  Status(TextId::ConfigurationStarted);
  // Only while the request is out may a configuration reply act: one that
  // came during the scan would end the run with shortcuts to an address
  // never chosen. The scan's receiver is closed; this one takes the reply.
  replies_ = services_.receivers.MakeReceiver();
  replies_->onDatagram = [this](std::string_view datagram, const Arrival&) {
    if (AwaitingReply()) OnDatagram(datagram);
  };
  std::string error;
  if (!replies_->Open(error)) Show(CannotReceiveMessage(error, language_));
  if (Stopped()) return Credentials::Wipe(request);
  // On a PC with several networks the request goes out by the one the
  // device answered on.
  const Adapter* via = scan_.SendAdapters().size() > 1 ? scan_.ArrivalAdapter(selected_) : nullptr;
  const SendOutcome sent =
      via ? services_.sender.SendVia(request, *via) : services_.sender.Send(request);
  Credentials::Wipe(request);
  // A failure is shown and otherwise absorbed: the time-out ends the wait.
  if (sent.stage != SendOutcome::Stage::Sent) Show({BroadcastFailureMessage(sent)});
  // A reply that is already queued is handled before the looks begin.
  if (!LetEventsRun()) return;
  // The run goes on in the reply handling, the look at the new address or
  // the time-out.
  if (AwaitingReply()) LookWhileWaiting();
}

void SetupRun::OnDatagram(std::string_view datagram) {
  // A reply naming another device (a neighbour's, or a forged one) is not
  // this device's answer: the wait goes on until its own or the time-out.
  if (ClassifyReply(datagram) != ReplyKind::Configuration ||
      !IsConfigReplyFor(datagram, scan_.Devices()[selected_].DeviceId)) {
    ++ignoredDatagrams_;
    return;
  }
  // The wait ends with any reply: no time-out, no second reply.
  StopWaiting();
  if (ParseConfigReply(datagram) == ConfigStatus::Success) {
    frontEnd_.SetMark(Row::Configuration, Mark::Done);
    Status(TextId::ConfigurationSucceeded);
    WatchNewAddress();
    return;
  }
  // A status that selects no outcome is shown as a failure too, so the user
  // is never left with both buttons disabled and nothing to do.
  ComeToRest(RunOutcome::Refused, TextId::ConfigurationFailed);
}

void SetupRun::OnReplyTimeout() {
  StopWaiting();
  // TextId::NoReply asks the user to run the setup again, which needs Previous.
  ComeToRest(RunOutcome::NoReply, TextId::NoReply);
}

void SetupRun::ComeToRest(RunOutcome outcome, TextId status) {
  if (!Enter(RunPhase::AtRest)) return;
  frontEnd_.SetMark(Row::Configuration, Mark::Failed);
  Status(status);
  outcome_ = outcome;
  frontEnd_.EnableLeaving();
}

void SetupRun::LookWhileWaiting() {
  lookWhileWaiting_->Start(kLookWhileWaiting, [this] {
    if (!AwaitingReply()) return;
    // The address was proven free just before the request: a host there now
    // is the device, unless ARP names another hardware address than its
    // identity. A refusal that arrives first still ends the run as refused.
    const Neighbour arp = services_.prober.LookNeighbour(newAddress_);
    if (DeviceIsThere(scan_.Devices()[selected_].DeviceId, false, arp))
      FoundWithoutReply();
    else
      LookWhileWaiting();
  });
}

void SetupRun::FoundWithoutReply() {
  // The device acted on the request and its reply was lost on the way: a
  // success, said to be unconfirmed. No second watch: it was just seen there.
  StopWaiting();
  frontEnd_.SetMark(Row::Configuration, Mark::Done);
  Status(TextId::ConfigurationSucceeded);
  outcome_ = RunOutcome::Configured;
  FinishWithShortcuts(newAddress_, TextId::SetupComplete, TextId::ShortcutsNotice,
                      TextId::FoundWithoutConfirmation);
}

void SetupRun::WatchNewAddress() {
  if (!Enter(RunPhase::Watching)) return;
  // The shortcuts are offered once the device answers where they point, or
  // after kWatchNewAddress at most; the watch only decides one sentence.
  watchDeadline_->Start(kWatchNewAddress, [this] {
    if (!Watching()) return;
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
        scan_.Devices()[selected_].DeviceId, answer == ProbeResult::Answered,
        services_.prober.AskNeighbour(newAddress_, answer == ProbeResult::CouldNotProbe));
  }
  if (!Watching()) return;
  if (there) {
    watchDeadline_->Stop();
    // The shortcuts point at the new address, not the one the scan saw.
    outcome_ = RunOutcome::Configured;
    FinishWithShortcuts(newAddress_, TextId::SetupComplete, TextId::ShortcutsNotice);
    return;
  }
  if (!watchDeadline_->IsActive()) return;
  watchNext_->Start(kWatchPause, [this] {
    if (Watching()) OnWatchTick();
  });
}

void SetupRun::FinishWithShortcuts(const std::string& address, TextId done, TextId notice,
                                   std::optional<TextId> postscript) {
  if (!Enter(RunPhase::Finishing)) return;
  const DesktopResult made = services_.desktop.CreateShortcuts(
      address, scan_.Devices()[selected_].HostName, ThisPcCodePage(LegacyCodePage(language_)));
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
  if (Stopped()) return;
  const Answer open =
      Show({Text(TextId::OpenShortcutsQuestion), Text(TextId::Warning), Buttons::OkCancel});
  if (open == Answer::Ok && !Stopped()) {
    const DesktopResult opened = services_.desktop.OpenShortcutTargets(address);
    if (!opened.ok)
      Show({Text(TextId::CannotOpenShortcuts) + "\r\n" + opened.error, std::string(kAppTitle),
            Buttons::Ok, Icon::Exclamation});
  }
  if (!Stopped()) frontEnd_.EndProgram();
}

void SetupRun::ReturnToScanStart(RunOutcome outcome) {
  outcome_ = outcome;
  if (Enter(RunPhase::Idle)) frontEnd_.ReturnToScanStart();
}

void SetupRun::BackToScanStart(RunOutcome outcome, TextId status, TextId message,
                               const std::string& details) {
  outcome_ = outcome;
  Status(status);
  Message box{Text(message)};
  if (!details.empty()) {
    box.details = details;
    box.detailsButton = Text(TextId::ChecksButton);
  }
  Show(box);
  if (Enter(RunPhase::Idle)) frontEnd_.ReturnToScanStart();
}

}  // namespace orvane

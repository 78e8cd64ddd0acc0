// Step 4's run sequence: from the end of the scan window to the end of the run.

#include "device/core/address_pick.h"
#include "device/core/codec.h"
#include "device/pages/broadcast.h"
#include "device/pages/frm_config_simple.h"
#include "device/pages/frm_main2.h"
#include "device/pages/frm_select.h"
#include "shell/core/wizard_state.h"
#include "shell/resources.h"
#include "shell/toolkit.h"

namespace orvane {

namespace {
CandidateSource* candidateSource = nullptr;
constexpr int kCandidates = 20;
}  // namespace

void frmMain2::SetCandidateSource(CandidateSource* source) {
  candidateSource = source;
}

void frmMain2::Timer1_Timer() {
  WizardState& s = State();
  CloseReceiver();
  Status(Text(34));
  Timer1.stop();
  AlreadyReachable = false;
  AddressFound = false;
  s.SelectedDevice = -1;

  if (s.LastDevice < 0) {
    Status(Text(35));
    Mark("pic1", 106);
    MsgBox(Text(36));
    if (Ended() || IsUnloaded()) return;
    BackToStep3();
    return;
  }

  Mark("pic1", 105);
  frmSelect::ChooseDevice();
  if (Ended() || IsUnloaded()) return;
  Yield();
  if (Ended() || IsUnloaded()) return;
  // The list page ends only by Next or by ending the program; should it ever
  // close without a choice, there is no device to go on with.
  if (s.SelectedDevice < 0 || s.SelectedDevice > s.LastDevice) {
    BackToStep3();
    return;
  }

  if (s.SelectedReachable) {
    Status(Text(37));
    Mark("pic2", 105);
    Mark("pic3", 105);
    Yield();
    if (Ended() || IsUnloaded()) return;
    AlreadyReachable = true;
  } else {
    Status(Text(38));
    Mark("pic2", 105);
    SearchFreeAddress();
    if (Ended() || IsUnloaded()) return;
  }

  const DeviceRecord& device = s.Devices[std::size_t(s.SelectedDevice)];
  if (AlreadyReachable) {
    FinishWithShortcuts(device.IpAddress, 45, 46);
    return;
  }
  if (!AddressFound) {
    Status(Text(43));
    MsgBox(Text(44));
    if (Ended() || IsUnloaded()) return;
    BackToStep3();
    return;
  }

  // A confirmed Cancel has already closed this page and shown Step 3.
  if (frmConfigSimple::AskCredentials() != LoginOutcome::Confirmed || Ended() || IsUnloaded())
    return;
  Timer3.setInterval(30000);
  Timer3.start();
  Status(Text(42));
  awaitingConfiguration_ = true;
  OpenReceiver();
  const std::string request = ComposeConfigRequest(
      device, NewAddress, s.LocalNetmask, s.LocalGateway, s.LoginUserName, s.LoginPassword);
  // The run goes on in the reply handling or in the time-out.
  Broadcast(request);
}

std::string frmMain2::PickRandomAddress() {
  const Candidate candidate = orvane::PickRandomAddress(
      State().LocalAddress, candidateSource ? *candidateSource : DefaultCandidateSource());
  if (!candidate.settingsValid)
    MsgBox(QStringLiteral("Your PC's IP address settings are invalid or not available."));
  return candidate.address;
}

void frmMain2::SearchFreeAddress() {
  Status(Text(39));
  Prober* prober = CurrentServices().prober;
  for (int i = 0; i < kCandidates; ++i) {
    NewAddress = PickRandomAddress();
    if (Ended() || IsUnloaded()) return;
    if (NewAddress.empty() || NewAddress[0] == '0') {
      MsgBox(Text(40), Buttons::Ok, Icon::None, Text(8));
      Unload();
      End();
      return;
    }
    ProbeAnswer answer = ProbeAnswer::CouldNotProbe;
    if (prober) {
      const BusyCursor busy;  // a free candidate blocks for the whole 500 ms
      answer = prober->Probe(NewAddress);
    }
    Yield();
    if (Ended() || IsUnloaded()) return;
    if (answer == ProbeAnswer::NoAnswer) {
      Status(Text(41) + QString::fromStdString(NewAddress));
      AddressFound = true;
      return;
    }
    // Only a candidate that was really probed and stayed silent is free: one
    // that could not be probed may well be in use, and so may all the others.
    if (answer == ProbeAnswer::CouldNotProbe) {
      SayCouldNotProbeOnce();
      return;
    }
  }
}

void frmMain2::FinishWithShortcuts(const std::string& address, int doneText, int noticeText) {
  const WizardState& s = State();
  const std::string hostName = s.Devices[std::size_t(s.SelectedDevice)].HostName;
  Desktop* desktop = CurrentServices().desktop;
  const QString error = desktop ? desktop->CreateShortcuts(address, hostName)
                                : QStringLiteral("No desktop is available.");
  if (error.isEmpty()) {
    Mark("pic4", 105);
    Status(Text(doneText));
  } else {
    // Never report shortcuts that were not made: the failure is shown, and the
    // run still ends as it would have, with the offer to open the targets.
    Mark("pic4", 106);
    Status(QStringLiteral("Cannot create the shortcuts on your desktop."));
  }
  EnableButtons();
  if (error.isEmpty()) {
    MsgBox(Text(noticeText), Buttons::Ok, Icon::None, Text(8));
  } else {
    MsgBox(QStringLiteral("Cannot create the shortcuts on your desktop.\r\n") + error, Buttons::Ok,
           Icon::Exclamation);
  }
  if (Ended() || IsUnloaded()) return;
  if (MsgBox(Text(57), Buttons::OkCancel, Icon::None, Text(8)) == Answer::Ok && !Ended()) {
    const QString launchError = desktop ? desktop->OpenShortcutTargets(address)
                                        : QStringLiteral("No desktop is available.");
    if (!launchError.isEmpty())
      MsgBox(QStringLiteral("Cannot open the shortcuts.\r\n") + launchError, Buttons::Ok,
             Icon::Exclamation);
  }
  if (Ended()) return;
  Unload();
  End();
}

}  // namespace orvane

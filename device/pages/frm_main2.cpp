#include "device/pages/frm_main2.h"

#include "device/core/codec.h"
#include "device/core/device_table.h"
#include "device/pages/broadcast.h"
#include "device/pages/udp_receiver.h"
#include "shell/core/wizard_state.h"
#include "shell/navigation.h"
#include "shell/resources.h"
#include "shell/toolkit.h"

namespace orvane {

frmMain2::frmMain2()
    : Page(LayoutMain2()),
      cmdPrevious(ButtonControl("cmdPrevious")),
      cmdExit(ButtonControl("cmdExit")),
      lblRun(LabelControl("lblRun")) {
  const auto guarded = [this](void (frmMain2::*handler)()) {
    return [this, handler] {
      if (!Ended() && !IsUnloaded()) (this->*handler)();
    };
  };
  // The scan window and the reply time-out are part of the behaviour: precise
  // timers, not coarse ones that may run up to 5 % (1.5 s of 30) late.
  for (QTimer* timer : {&Timer1, &Timer2, &Timer3}) timer->setTimerType(Qt::PreciseTimer);
  connect(&Timer1, &QTimer::timeout, this, guarded(&frmMain2::Timer1_Timer));
  connect(&Timer2, &QTimer::timeout, this, guarded(&frmMain2::Timer2_Timer));
  connect(&Timer3, &QTimer::timeout, this, guarded(&frmMain2::Timer3_Timer));
  OnClick(cmdPrevious, [this] { cmdPrevious_Click(); });
  OnClick(cmdExit, [this] { ConfirmExit(this); });
  // Leaving the page by any road stops its timers and its receiver at once,
  // not when the page object is finally deleted.
  connect(this, &Page::Unloaded, this, [this] { StopEverything(); });

  auto& make = CurrentServices().makeReceiver;
  Winsock1 = make ? make() : std::make_unique<UdpReplyReceiver>();
  Winsock1->onDatagram = [this](const std::string& datagram) {
    if (!Ended() && !IsUnloaded()) Winsock1_DataArrival(datagram);
  };
}

frmMain2::~frmMain2() {
  StopEverything();
}

void frmMain2::StopEverything() {
  Timer1.stop();
  Timer2.stop();
  Timer3.stop();
  awaitingConfiguration_ = false;
  if (Winsock1) Winsock1->Close();
}

void frmMain2::Load() {
  WizardState& s = State();
  s.LastDevice = -1;
  ResetDevices(s.Devices, s.LastDevice);
  SetBackColor(this, s.PageBackColor);
  for (const char* name : {"Label1_1", "Label2_1", "Label3_1", "Label4_1", "Label5"})
    SetBackColor(LabelControl(name), s.LabelBackColor);
  SetBackColor(lblRun, s.TextBackColor);
  for (const char* name : {"Label1_1", "Label2_1", "Label3_1", "Label4_1", "Label5", "lblRun"})
    SetForeColor(LabelControl(name), s.LabelForeColor);
  for (const char* name : {"pic1", "pic2", "pic3", "pic4"})
    SetBackColor(PictureControl(name), s.PageBackColor);
  Mark("pic1", 104);

  LoadLocalSettings();

  s.SelectedDevice = 0;
  LabelControl("Label1_1")->setText(Text(29));
  LabelControl("Label2_1")->setText(Text(30));
  LabelControl("Label3_1")->setText(Text(31));
  LabelControl("Label4_1")->setText(Text(32));
  LabelControl("Label5")->setText(Text(28));
  cmdPrevious->setText(Text(2));
  cmdExit->setText(Text(3));
  auto* lblVersion = LabelControl("lblVersion");
  SetBackColor(lblVersion, s.LabelBackColor);
  SetForeColor(lblVersion, s.LabelForeColor);
  lblVersion->setText(Text(58));
  cmdPrevious->setEnabled(false);
  cmdExit->setEnabled(false);
  lblRun->setText(Text(33));
  Yield();
  if (Ended() || IsUnloaded()) return;
  // The scan never starts inside the load: 100 ms after it.
  Timer2.setInterval(100);
  Timer2.start();
}

void frmMain2::Timer2_Timer() {
  Timer2.stop();
  OpenReceiver();
  Broadcast(BuildDiscoveryRequest());
  if (Ended() || IsUnloaded()) return;
  // The 3-second window starts once Broadcast has returned, that is after any
  // failure message has been closed.
  Timer1.setInterval(3000);
  Timer1.start();
}

void frmMain2::OpenReceiver() {
  QString error;
  if (Winsock1->Open(&error)) return;
  // Another program holds the port: the scan can only end with no device.
  MsgBox(QStringLiteral("Cannot receive replies on UDP port %1: %2.\r\n"
                        "Another program may be using this port.")
             .arg(kReplyPort)
             .arg(error),
         Buttons::Ok, Icon::Exclamation);
}

void frmMain2::CloseReceiver() {
  Winsock1->Close();
}

void frmMain2::Winsock1_DataArrival(const std::string& datagram) {
  switch (ClassifyReply(datagram)) {
    case ReplyKind::Discovery:
      StoreDiscoveryReply(State().Devices, State().LastDevice, datagram);
      break;
    case ReplyKind::Configuration:
      if (awaitingConfiguration_) HandleConfigurationReply(datagram);
      break;
    case ReplyKind::Other:
      break;
  }
}

void frmMain2::HandleConfigurationReply(const std::string& datagram) {
  // The configuration phase ends with any reply: no time-out, no second reply.
  awaitingConfiguration_ = false;
  Timer3.stop();
  CloseReceiver();
  switch (ParseConfigReply(datagram)) {
    case ConfigStatus::Success: {
      Mark("pic3", 105);
      Status(Text(48));
      // The shortcuts point at the new address, not the one the scan saw.
      FinishWithShortcuts(NewAddress, 49, 50);
      return;
    }
    case ConfigStatus::Failure:
    case ConfigStatus::Neither:
      // A status that selects no outcome is shown as a failure too, so the
      // user is never left with both buttons disabled and nothing to do.
      Mark("pic3", 106);
      Status(Text(47));
      EnableButtons();
      return;
  }
}

void frmMain2::Timer3_Timer() {
  // One tick only: the time-out does not repeat every 30 seconds.
  Timer3.stop();
  awaitingConfiguration_ = false;
  Status(Text(54));
  Mark("pic3", 106);
  CloseReceiver();
  // Text 54 asks the user to run the setup again, which needs Previous.
  EnableButtons();
}

void frmMain2::cmdPrevious_Click() {
  ResetDevices(State().Devices, State().LastDevice);
  BackToStep3();
}

void frmMain2::BackToStep3() {
  GoToPage(this, PageId::Main0);
}

void frmMain2::Mark(const char* picture, int bitmap) {
  PictureControl(picture)->SetPictureNumber(bitmap);
}

void frmMain2::Status(const QString& text) {
  lblRun->setText(text);
}

void frmMain2::EnableButtons() {
  cmdPrevious->setEnabled(true);
  cmdExit->setEnabled(true);
}

}  // namespace orvane

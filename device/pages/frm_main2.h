#pragma once
// Step 4: the scan and the setup run. The page loads, starts the scan 100 ms
// later, lists the devices after a 3-second window and then either makes the
// shortcuts for a reachable device or gives an unreachable one a free address.

#include <QTimer>
#include <memory>
#include <string>

#include "device/pages/services.h"
#include "shell/page.h"

namespace orvane {

class CandidateSource;

class frmMain2 : public Page {
 public:
  frmMain2();
  ~frmMain2() override;

  // Members the run leaves behind (read by tests).
  const std::string& NewAddressValue() const { return NewAddress; }
  bool AddressFoundValue() const { return AddressFound; }
  bool ReceiverOpen() const { return Winsock1 && Winsock1->IsOpen(); }

  // The handlers, callable directly where a test must not wait the real time.
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();
  void Winsock1_DataArrival(const std::string& datagram);

  QTimer Timer1;  // 3000 ms after the discovery request: the run sequence
  QTimer Timer2;  // 100 ms after the load: starts the scan
  QTimer Timer3;  // 30000 ms: the configuration reply time-out

  // Replaces the source of random candidates (tests).
  static void SetCandidateSource(CandidateSource* source);

 protected:
  void Load() override;

 private:
  void OpenReceiver();
  void CloseReceiver();
  void StopEverything();
  void Mark(const char* picture, int bitmap);
  void Status(const QString& text);
  void EnableButtons();
  void BackToStep3();
  // The end of a run that reached its device: shortcuts, row 4, the status
  // line, the notice and the offer to open the targets; then the program ends.
  void FinishWithShortcuts(const std::string& address, int doneText, int noticeText);

  void SearchFreeAddress();
  std::string PickRandomAddress();
  void HandleConfigurationReply(const std::string& datagram);
  void cmdPrevious_Click();

  QPushButton* cmdPrevious;
  QPushButton* cmdExit;
  QLabel* lblRun;
  std::unique_ptr<ReplyReceiver> Winsock1;

  std::string NewAddress;
  bool AddressFound = false;
  bool AlreadyReachable = false;
  // Only while the configuration request is out may a configuration reply
  // act: one that came during the scan would end the run with shortcuts to an
  // address never chosen.
  bool awaitingConfiguration_ = false;
};

}  // namespace orvane

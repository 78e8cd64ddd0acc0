#include "device/pages/broadcast.h"

#include "shell/toolkit.h"

namespace orvane {

void Broadcast(const std::string& message) {
  Sender* sender = CurrentServices().sender;
  // Without a sender nothing can leave this PC; say so as a failed socket.
  const SendOutcome outcome =
      sender ? sender->Send(message) : SendOutcome{SendOutcome::Stage::CreateFailed, 10093};
  if (outcome.stage != SendOutcome::Stage::Sent)
    MsgBox(QString::fromStdString(BroadcastFailureMessage(outcome)));
  if (Ended()) return;
  Yield();
}

}  // namespace orvane

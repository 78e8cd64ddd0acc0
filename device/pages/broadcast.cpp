#include "device/pages/broadcast.h"

#include "hostnet/socket_errors.h"
#include "shell/toolkit.h"

namespace orvane {

QString BroadcastFailureText(const SendResult& result) {
  const QString head = result.stage == SendResult::Stage::CreateFailed
                           ? QStringLiteral("Cannot Create Socket.")
                           : QStringLiteral("Cannot Send Request.");
  return head + QStringLiteral("\r\n ") + QString::number(result.code) +
         QString::fromStdString(SocketErrorText(result.code));
}

void Broadcast(const std::string& message) {
  Sender* sender = CurrentServices().sender;
  // Without a sender nothing can leave this PC; say so as a failed socket.
  const SendResult result =
      sender ? sender->Send(message) : SendResult{SendResult::Stage::CreateFailed, 10093};
  if (result.stage != SendResult::Stage::Sent) MsgBox(BroadcastFailureText(result));
  if (Ended()) return;
  Yield();
}

}  // namespace orvane

// BroadcastFailureMessage apart from the sends: the engine shows it and links
// only hostnet/'s portable part.
#include "hostnet/broadcast_sender.h"

#include <string>

#include "hostnet/socket_errors.h"

namespace orvane {

std::string BroadcastFailureMessage(const SendOutcome& outcome) {
  std::string message;
  switch (outcome.stage) {
    case SendOutcome::Stage::Sent:
      return message;
    case SendOutcome::Stage::CreateFailed:
      message = "Cannot Create Socket.";
      break;
    case SendOutcome::Stage::SendFailed:
      message = "Cannot Send Request.";
      break;
  }
  // The code and its text touch: " 10065No route to host." is the line the
  // device's manual and support staff quote, so a user who searches for the
  // message as shown finds it.
  message += "\r\n ";
  message += std::to_string(outcome.wsaCode);
  message += SocketErrorText(outcome.wsaCode);
  return message;
}

}  // namespace orvane

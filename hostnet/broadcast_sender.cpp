#include "hostnet/broadcast_sender.h"

#include "hostnet/socket_errors.h"

namespace orvane {

SendOutcome SendBroadcast(std::string_view bytes, std::uint16_t port) {
  return SendDatagramTo(bytes, kLimitedBroadcast, port, true);
}

SendOutcome SendBroadcastVia(std::string_view bytes, std::uint16_t port,
                             std::uint32_t interfaceIndex, std::string_view localAddress) {
  const Via via{interfaceIndex, localAddress};
  return SendDatagramVia(bytes, kLimitedBroadcast, port, true, &via);
}

SendOutcome SendDatagramTo(std::string_view bytes, std::string_view ipv4, std::uint16_t port,
                           bool broadcast) {
  return SendDatagramVia(bytes, ipv4, port, broadcast, nullptr);
}

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

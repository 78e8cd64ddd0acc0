#pragma once
// Broadcast: one request datagram to 255.255.255.255 port 12311.

#include <QString>
#include <string>

#include "device/pages/services.h"

namespace orvane {

// Sends the message whole through the sender in force. A failure is shown in a
// message box (title "TAVO", OK only) and otherwise absorbed: the caller goes
// on and relies on its own time-out. Then lets every pending event run, so a
// reply that is already queued is handled before Broadcast returns.
void Broadcast(const std::string& message);

}  // namespace orvane

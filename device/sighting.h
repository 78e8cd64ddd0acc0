#pragma once
// Whether a device is the host that holds an address. An echo or an ARP
// answer says that some host is there; where the device's identity reads as
// a hardware address, ARP also says whether that host is the device.

#include <string_view>

#include "hostnet/neighbour.h"

namespace orvane {

// The device is there: it answered the echo, or ARP says the address is
// held. Where the identity reads as a hardware address and ARP gave the
// host's, the two must be equal: a host with another hardware address is
// not this device, whatever it answers.
bool DeviceIsThere(std::string_view identity, bool echoAnswered, const Neighbour& arp);

// A device that drops echo requests still answers ARP: it is there when ARP
// gives its own hardware address (the identity) for the address it reported.
// Without a hardware address to compare, ARP alone proves nothing about it.
bool AnswersArpAsItself(std::string_view identity, const Neighbour& arp);

}  // namespace orvane

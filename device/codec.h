#pragma once
// The device datagram protocol: building the two requests and reading the two
// replies. Everything here works on the raw datagram bytes; nothing is decoded,
// so a host name in any code page travels back to the device unchanged.
//
// Character positions of the protocol are counted in bytes. For the ASCII content
// the devices send this is the same thing; for a name in a double-byte code page
// it keeps the bytes intact, which is what the configuration request needs.

#include <cstdint>
#include <string>
#include <string_view>

#include "device/device_record.h"

namespace orvane {

inline constexpr std::uint16_t kRequestPort = 12311;  // devices listen here for "0C01S" / "0C02S"
inline constexpr std::uint16_t kReplyPort = 12310;    // devices send "0C01R" / "0C02R" here

inline constexpr std::string_view kNoDiskModel = "No HD Installed!";

// The discovery request "0C01S", five bytes, nothing else.
std::string BuildDiscoveryRequest();

enum class ReplyKind { Other, Discovery, Configuration };

// Looks only at the first five bytes, exactly and case-sensitively: "0C01R" is a
// discovery reply, "0C02R" a configuration reply, anything else (also "0c01r" and
// datagrams shorter than five bytes) is Other and is to be dropped silently.
ReplyKind ClassifyReply(std::string_view datagram);

// Reads a "0C01R" datagram into `out`.
//
// The keyed fields are located the way the devices expect their replies read: keys are
// found case-insensitively, each one searched from the position of the previous
// key, and the values of IP, NETMASK, GATEWAY, HOSTNAME and WORKGROUP are measured
// back from the next key, dropping exactly one separator byte and the closing
// quote without looking at them. So "IP='1.2.3.4'; NETMASK='" yields an address
// ending in "'" and a device must send exactly one separator. HOSTNAME_FULL and
// the disk fields end at their closing quote.
//
// Returns false, leaving `out` untouched, when the datagram cannot be read:
//  - it is not a discovery reply;
//  - one of IP, NETMASK, GATEWAY, HOSTNAME, WORKGROUP, HOSTNAME_FULL is missing or
//    does not follow the previous one (a key found only before its predecessor is
//    treated as missing);
//  - a measured length comes out negative (the next key starts less than two bytes
//    after the opening quote, e.g. "IP='NETMASK='");
//  - the HOSTNAME_FULL value has no closing quote.
// Storing half a device would put a row on the list that cannot be configured, so
// such a reply is better left out, as a lost datagram would be.
//
// Read safely instead of dropped:
//  - a disk field (HDMODEL, HDCAPACITY, HDTOTAL, HDAVAIL) without its closing
//    quote counts as absent;
//  - a disk figure that is not a decimal integer in the signed 32-bit range
//    (optional '-', then digits only, nothing around them) counts as 0. That is
//    the rule for a non-numeric HDTOTAL or HDAVAIL, applied to HDCAPACITY and to
//    out-of-range values as well: the list page has nothing better to show;
//  - each disk field is searched from the closing quote of the last disk field
//    that was read (from the HOSTNAME_FULL quote when none was), so an absent
//    field does not move the search;
//  - an empty or absent HDMODEL gives "No HD Installed!" and all three figures 0.
//
// On success every field of `out` is assigned (its strings keep their capacity),
// so reading into a reused record allocates nothing once the strings are large
// enough. Never throws and never reads outside `datagram`.
bool ParseDiscoveryReply(std::string_view datagram, DeviceRecord& out);

// The "0C02S" request for `device`: kind, the 17 identity bytes as received, then
// newAddress;netmask;gateway;HostName;Workgroup;HostNameFull;userName;password
// with nothing escaped (a ';' inside a value shifts the later fields, as the
// devices expect) and nothing after the password.
std::string ComposeConfigRequest(const DeviceRecord& device, std::string_view newAddress,
                                 std::string_view netmask, std::string_view gateway,
                                 std::string_view userName, std::string_view password);

enum class ConfigStatus { Failure, Success, Neither };

// The status byte at position 23 of a "0C02R" datagram: '1' Failure, '2' Success.
// Every other case is Neither: another digit, a non-digit, a datagram shorter than
// 23 bytes, or one that is not a configuration reply at all. A reply we cannot
// read is reported the same way as a status that selects no outcome; the caller
// decides what the page shows for it.
ConfigStatus ParseConfigReply(std::string_view datagram);

// True when `datagram` is a "0C02R" reply whose bytes 6 to 22 are exactly
// `identity`, the 17 bytes the configuration request was addressed to. Any
// host on the LAN can send a "0C02R"; only the device being configured may
// decide the outcome of its configuration. A reply too short to carry an
// identity names no device and is not for this one either.
bool IsConfigReplyFor(std::string_view datagram, std::string_view identity);

}  // namespace orvane

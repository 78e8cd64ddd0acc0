#pragma once
// The device side of the Orvane datagram protocol: what a simulated device
// answers to "0C01S" and "0C02S", and how it reads a configuration request.

#include <optional>
#include <string>
#include <string_view>

namespace orvane::devsim {

inline constexpr int kRequestPort = 12311;
inline constexpr int kReplyPort = 12310;
inline constexpr std::size_t kIdentityLength = 17;
inline constexpr std::string_view kDiscoveryRequest = "0C01S";
inline constexpr std::string_view kConfigRequestKind = "0C02S";

// What one simulated device reports about itself. Every text goes on the wire
// byte for byte; the disk figures are texts too, so a test can make a device
// report "n/a" or a number outside the 32-bit range.
struct DeviceFacts {
  std::string identity = "00:0A:1B:2C:3D:4E";
  std::string address;  // filled from the namespace when not given
  std::string netmask;
  std::string gateway;
  std::string hostName = "FILER1";
  std::string workgroup = "WORKGROUP";
  std::optional<std::string> hostNameFull;  // the host name when not given
  bool hasDisk = true;
  std::string diskModel = "DISK-80G";
  std::string diskCapacity = "156301488";
  std::string diskTotal = "76900000";
  std::string diskAvailable = "70000000";
};

// The discovery reply in the exact framing a device uses: identity, then
// ";KEY='value'" for each field. Without a disk the reply ends after the
// HOSTNAME_FULL field, as real devices without a disk do.
std::string ComposeDiscoveryReply(const DeviceFacts& facts);

// The configuration reply: "0C02R", the identity, one status character.
std::string ComposeConfigReply(std::string_view identity, char status);

// A configuration request as the device reads it.
struct ConfigRequest {
  std::string address;
  std::string netmask;
  std::string gateway;
  std::string hostName;
  std::string workgroup;
  std::string hostNameFull;
  // Everything after the separator that ends the full host name: the user
  // name, ";", the password. The wire has no escaping, so a ';' inside the
  // user name or the password cannot be placed by reading alone; the
  // credential check compares this whole tail with "<user>;<password>"
  // instead, which is exact for any user name and password.
  std::string credentials;
  std::string userName;  // credentials up to the first ';' (for the log)
  std::string password;  // credentials after the first ';' (for the log)
};

enum class ConfigParse { kNotForMe, kMalformed, kOk };

// Reads "0C02S" + identity + "addr;mask;gw;host;workgroup;fullhost;user;password".
// kNotForMe when the kind code or characters 6-22 differ from `identity`;
// kMalformed when it is for this device but has fewer than seven separators
// after the identity (the device then answers status "1", as it would to a
// request it cannot apply).
ConfigParse ParseConfigRequest(std::string_view datagram, std::string_view identity,
                               ConfigRequest& out);

// Turns the escapes of a command-line text into bytes: \xHH (two hex digits),
// \\, \n, \r, \t, \0. Any other backslash sequence is an error, so a typo in a
// test's raw reply fails loudly instead of going on the wire.
std::optional<std::string> Unescape(std::string_view text);

// The prefix length of a dotted netmask, or nullopt for a malformed address or
// a mask whose one-bits are not contiguous.
std::optional<int> MaskPrefixLength(std::string_view netmask);

// The N-th of the junk datagrams a device can be told to send around its
// reply: empty, short, wrong case, a request kind, binary, oversized.
std::string JunkDatagram(int index);

}  // namespace orvane::devsim

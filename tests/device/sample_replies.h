#pragma once
// Datagrams shared by the device core tests.

#include <string>
#include <string_view>

namespace orvane::test {

inline constexpr std::string_view kWorkedIdentity = "00:0A:1B:2C:3D:4E";

// A device with an 80 GB disk, as it answers a discovery request.
inline constexpr std::string_view kWorkedReply =
    "0C01R00:0A:1B:2C:3D:4E;IP='192.168.1.20';NETMASK='255.255.255.0';GATEWAY='192.168.1.1';"
    "HOSTNAME='FILER1';WORKGROUP='WORKGROUP';HOSTNAME_FULL='FILER1';HDMODEL='DISK-80G';"
    "HDCAPACITY='156301488';HDTOTAL='76900000';HDAVAIL='70000000'";

// The worked reply's head up to and including HOSTNAME_FULL, for building variants.
inline constexpr std::string_view kWorkedNames =
    "0C01R00:0A:1B:2C:3D:4E;IP='192.168.1.20';NETMASK='255.255.255.0';GATEWAY='192.168.1.1';"
    "HOSTNAME='FILER1';WORKGROUP='WORKGROUP';HOSTNAME_FULL='FILER1'";

// A discovery reply from a device with the given identity (17 bytes) and names.
inline std::string MakeReply(std::string_view identity, std::string_view hostName,
                             std::string_view workgroup, std::string_view hostNameFull,
                             std::string_view diskFields = "") {
  std::string reply = "0C01R";
  reply.append(identity);
  reply.append(";IP='192.168.1.20';NETMASK='255.255.255.0';GATEWAY='192.168.1.1';HOSTNAME='");
  reply.append(hostName);
  reply.append("';WORKGROUP='");
  reply.append(workgroup);
  reply.append("';HOSTNAME_FULL='");
  reply.append(hostNameFull);
  reply.append("'");
  reply.append(diskFields);
  return reply;
}

}  // namespace orvane::test

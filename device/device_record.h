#pragma once
// One discovered device, as its discovery reply describes it.

#include <array>
#include <cstdint>
#include <string>

namespace orvane {

// Texts are kept as the bytes the device sent: a host name, workgroup or
// identity must go back byte for byte in the configuration request, whatever
// its encoding. Decoding for display is the pages' business.
struct DeviceRecord {
  std::string DeviceId;
  std::string IpAddress;
  std::string Netmask;
  std::string Gateway;
  std::string HostName;
  std::string Workgroup;
  std::string HostNameFull;
  std::string DiskModel;
  std::int32_t DiskCapacity = 0;   // 512-byte sectors
  std::int32_t DiskTotal = 0;      // kilobytes
  std::int32_t DiskAvailable = 0;  // kilobytes

  bool operator==(const DeviceRecord&) const = default;
};

inline constexpr int kDeviceCount = 11;  // entries 0 to 10 of Devices
using DeviceTable = std::array<DeviceRecord, kDeviceCount>;

}  // namespace orvane

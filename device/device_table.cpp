#include "device/device_table.h"

#include <cstddef>

#include "device/codec.h"

namespace orvane {

void ResetDevices(DeviceTable& devices, std::int16_t& lastDevice) {
  devices.fill(DeviceRecord{});
  lastDevice = -1;
}

bool StoreDiscoveryReply(DeviceTable& devices, std::int16_t& lastDevice,
                         std::string_view datagram) {
  const int next = lastDevice + 1;
  if (next < 0 || next >= kDeviceCount) return false;
  // The parser leaves the entry untouched when it cannot read the datagram, so a
  // bad reply never shows up as a half-filled row.
  if (!ParseDiscoveryReply(datagram, devices[static_cast<std::size_t>(next)])) return false;
  lastDevice = static_cast<std::int16_t>(next);
  return true;
}

}  // namespace orvane

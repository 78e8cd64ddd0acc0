#pragma once
// The device table of one scan: `Devices` holds the discovery replies in the
// order they arrived, entries 0 to `LastDevice`, and -1 means none.

#include <cstdint>
#include <string_view>

#include "device/device_record.h"

namespace orvane {

// Empties the table: 11 blank entries and `lastDevice` = -1. Done on every load of
// the Step 4 page and by its Previous button.
void ResetDevices(DeviceTable& devices, std::int16_t& lastDevice);

// Reads a "0C01R" datagram into the entry after `lastDevice` and advances
// `lastDevice`. There is no duplicate check and no sender check: a device that
// answers twice gets two entries.
//
// Returns false and changes nothing when the datagram is not a readable discovery
// reply (see ParseDiscoveryReply), and also when the table is already full. The
// table has room for 11 devices and the list page shows entries 0 to
// `lastDevice`; a 12th reply in one scan is ignored rather than growing the table
// or overwriting a device the user may already be looking for. A `lastDevice`
// outside -1..10 is treated as full, so a caller's mistake cannot index past the
// table.
bool StoreDiscoveryReply(DeviceTable& devices, std::int16_t& lastDevice, std::string_view datagram);

}  // namespace orvane

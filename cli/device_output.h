#pragma once
// How `orvane list` writes the devices: a table with the device list's
// columns and cells, or JSON with every field of every reply.

#include <span>
#include <string>
#include <string_view>

#include "device/run_front_end.h"
#include "device/scan_report.h"

namespace orvane {

// A header line and one line a device: the list's eight columns, the texts
// the device sent as TerminalText shows them, the disk figures formatted by
// its cell rules with a point as the decimal separator. Columns are padded to
// their widest cell; the last one is not.
std::string DeviceTableText(std::span<const DeviceRow> rows);

// The adapter of this PC a device's reply came in on: its name and this PC's
// address on it (empty where the platform cannot say).
struct HeardOn {
  std::string adapter;
  std::string localAddress;
};

// A JSON array, one object a device on a line of its own, in list order.
// Each text the device sent is given twice: as text in its own field
// ("hostName", readable, U+FFFD for a byte that is not UTF-8) and as its exact
// bytes in hex in the field of that name with "Hex" after it ("hostNameHex").
// `heardOn` (one per row, or none) adds where each reply came in.
std::string DeviceListJson(std::span<const DeviceRow> rows, std::span<const HeardOn> heardOn = {});

// What a scan checked: the words the wizard shows behind its no-device
// message, one check a line; or the same as a JSON object.
std::string ScanReportText(const ScanReport& report);
std::string ScanReportJson(const ScanReport& report);

// A JSON string of the bytes, quotes included, that strict parsers accept:
// valid UTF-8 stands as it is, each byte that is not part of valid UTF-8
// becomes U+FFFD, and the quote, the backslash and every character a terminal
// acts on (TerminalActsOn) are escaped, so the JSON is safe to look at too.
std::string JsonString(std::string_view bytes);

// The bytes in hex, two lower-case digits a byte: a device's text exactly as
// it was sent, whatever its encoding.
std::string HexBytes(std::string_view bytes);

}  // namespace orvane

// A discovery reply from anyone on the LAN, stored into a partly filled device
// table. Properties:
//  - a reply that does not parse leaves the table and its last index untouched;
//  - one that parses fills exactly the next entry, with every field assigned
//    (the table is pre-filled with another device, so a field left over from
//    it would show), its identity the 17 bytes after the kind and each name a
//    piece of the datagram, byte for byte;
//  - the configuration request composed for that device carries its identity
//    and names back byte for byte, as the device simulator reads requests;
//  - a model it did not send reads as the placeholder, with no figures;
//  - its texts decode for the list and the figures format without fault.

#include <string>

#include "device/codec.h"
#include "device/device_table.h"
#include "device/list_format.h"
#include "tests/fuzz/fuzz_check.h"
#include "text/code_page.h"
#include "text/utf_text.h"
#include "tools/devsim/devsim_wire.h"

namespace orvane {
namespace {

DeviceRecord Resident() {
  return {"RESIDENT-IDENTITY", "10.0.0.9", "255.0.0.0", "10.0.0.1", "RES",  "RESWG",
          "res.full",          "RES-DISK", 123456789,   1234567,    7654321};
}

bool HasSemicolon(std::string_view text) {
  return text.find(';') != std::string_view::npos;
}

void CheckRequestRoundTrip(const DeviceRecord& device) {
  constexpr std::string_view kAddress = "192.168.0.57", kMask = "255.255.255.0",
                             kGateway = "192.168.0.1", kUser = "vexil", kPassword = "pass";
  const std::string request =
      ComposeConfigRequest(device, kAddress, kMask, kGateway, kUser, kPassword);
  FUZZ_CHECK(request.compare(0, 5, "0C02S") == 0);
  FUZZ_CHECK(request.compare(5, 17, device.DeviceId) == 0);
  devsim::ConfigRequest read;
  FUZZ_CHECK(devsim::ParseConfigRequest(request, device.DeviceId, read) ==
             devsim::ConfigParse::kOk);
  FUZZ_CHECK(read.address == kAddress && read.netmask == kMask && read.gateway == kGateway);
  // Nothing is escaped: a ';' inside a name shifts the fields after it, which
  // is the protocol. Up to the first name with a ';' everything comes back.
  if (HasSemicolon(device.HostName)) return;
  FUZZ_CHECK(read.hostName == device.HostName);
  if (HasSemicolon(device.Workgroup)) return;
  FUZZ_CHECK(read.workgroup == device.Workgroup);
  if (HasSemicolon(device.HostNameFull)) return;
  FUZZ_CHECK(read.hostNameFull == device.HostNameFull);
  FUZZ_CHECK(read.credentials == "vexil;pass");
}

}  // namespace
}  // namespace orvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane;
  const std::string_view datagram = fuzz::Bytes(data, size);

  DeviceTable table;
  table.fill(Resident());
  // From empty to full, picked by the length so every state is reached.
  const auto last = static_cast<std::int16_t>(static_cast<int>(size % (kDeviceCount + 1)) - 1);
  std::int16_t lastDevice = last;
  const DeviceTable before = table;

  const bool stored = StoreDiscoveryReply(table, lastDevice, datagram);
  if (!stored) {
    FUZZ_CHECK(lastDevice == last);
    FUZZ_CHECK(table == before);
    return 0;
  }
  FUZZ_CHECK(lastDevice == last + 1);
  for (int i = 0; i < kDeviceCount; ++i)
    if (i != lastDevice) FUZZ_CHECK(table[std::size_t(i)] == before[std::size_t(i)]);

  const DeviceRecord& device = table[std::size_t(lastDevice)];
  DeviceRecord fresh;
  FUZZ_CHECK(ParseDiscoveryReply(datagram, fresh) && fresh == device);
  FUZZ_CHECK(datagram.substr(0, 5) == "0C01R");
  FUZZ_CHECK(device.DeviceId == datagram.substr(5, 17));
  for (const std::string* name : {&device.IpAddress, &device.Netmask, &device.Gateway,
                                  &device.HostName, &device.Workgroup, &device.HostNameFull})
    FUZZ_CHECK(datagram.find(*name) != std::string_view::npos);
  FUZZ_CHECK(device.DiskModel == kNoDiskModel ||
             datagram.find(device.DiskModel) != std::string_view::npos);
  // A device may itself send the placeholder as its model, figures and all;
  // only the placeholder we put in for a missing model clears the figures.
  if (device.DiskModel == kNoDiskModel && datagram.find(kNoDiskModel) == std::string_view::npos)
    FUZZ_CHECK(device.DiskCapacity == 0 && device.DiskTotal == 0 && device.DiskAvailable == 0);

  CheckRequestRoundTrip(device);

  for (const std::string* text : {&device.HostName, &device.IpAddress, &device.DiskModel})
    for (const unsigned codePage : {kCodePageWindows1252, kCodePageBig5})
      FUZZ_CHECK(IsValidUtf8(DeviceTextToUtf8(*text, PcCodePage{codePage, true})));
  FormatCapacity(device.DiskCapacity, '.');
  FormatTotal(device.DiskTotal, ',');
  FormatUsed(device.DiskTotal, device.DiskAvailable, '.');
  return 0;
}

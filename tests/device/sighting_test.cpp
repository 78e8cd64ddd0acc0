// Whether a device is the host at an address: echo, ARP, and the hardware
// address its identity names.

#include "device/sighting.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Sighting, TheHardwareAddressDecidesWhereTheIdentityNamesOne) {
  const HardwareAddress own{0x00, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E}, other{0x02, 0, 0, 0, 0, 1};
  const Neighbour heldByOwn{NeighbourAnswer::Held, own}, heldByOther{NeighbourAnswer::Held, other};
  const Neighbour heldUnnamed{NeighbourAnswer::Held}, silent{NeighbourAnswer::Silent}, unknown{};
  const struct {
    const char* identity;
    bool echo;
    Neighbour arp;
    bool there;        // DeviceIsThere
    bool arpAsItself;  // AnswersArpAsItself
  } cases[] = {
      {"00:0A:1B:2C:3D:4E", false, heldByOwn, true, true},
      {"00-0a-1b-2c-3d-4e", false, heldByOwn, true, true},     // hyphens, lower case
      {"00:0A:1B:2C:3D:4E", true, heldByOther, false, false},  // another host answered
      {"00:0A:1B:2C:3D:4E", false, heldUnnamed, true, false},  // nothing to compare
      {"00:0A:1B:2C:3D:4E", true, unknown, true, false},
      {"00:0A:1B:2C:3D:4E", false, silent, false, false},
      {"00:0A-1B:2C:3D:4E", false, heldByOther, true, false},  // mixed separators: no address
      {"FLOOD-00000000001", false, heldByOther, true, false},
      {"00:0A:1B:2C:3D:4G", true, heldByOther, true, false},
      {" 00:0A:1B:2C:3D:4", false, heldByOwn, true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DeviceIsThere(c.identity, c.echo, c.arp), c.there) << c.identity;
    EXPECT_EQ(AnswersArpAsItself(c.identity, c.arp), c.arpAsItself) << c.identity;
  }
}

}  // namespace
}  // namespace orvane

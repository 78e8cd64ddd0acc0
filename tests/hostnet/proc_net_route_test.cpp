#include "hostnet/proc_net_route.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// As a little-endian machine prints it (the kernel writes each network-order
// word as a native number): two default routes, b0's with the lower metric
// and so listed first, and some routes that give no default gateway.
constexpr std::string_view kTable =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
    "b0\t00000000\t0100580A\t0003\t0\t0\t50\t00000000\t0\t0\t0\n"
    "a0\t00000000\t01044D0A\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
    "a0\t00000000\t02044D0A\t0003\t0\t0\t200\t00000000\t0\t0\t0\n"
    "a0\t00044D0A\t00000000\t0001\t0\t0\t0\t00FCFFFF\t0\t0\t0\n"
    "c0\t00000000\t0101A8C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n"
    "d0\t0000A8C0\t0101A8C0\t0003\t0\t0\t0\t0000FFFF\t0\t0\t0\n"
    "d0\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n";

TEST(DefaultGatewayFromRouteTable, FirstDefaultGatewayOfThatInterface) {
  struct Case {
    const char* interfaceName;
    const char* gateway;
  };
  const Case cases[] = {
      {"b0", "10.88.0.1"}, {"a0", "10.77.4.1"},  // not b0's, although b0's is listed first
      {"c0", ""},                                // a route that is not up
      {"d0", ""},     // a gateway for a subnet and a default without gateway
      {"e0", ""},     // no route at all
      {"a", ""},      // names are compared whole
      {"Iface", ""},  // the header is no route
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DefaultGatewayFromRouteTable(kTable, c.interfaceName), c.gateway) << c.interfaceName;
  }
}

TEST(DefaultGatewayFromRouteTable, ToleratesOddText) {
  EXPECT_EQ(DefaultGatewayFromRouteTable("", "a0"), "");
  EXPECT_EQ(DefaultGatewayFromRouteTable("a0 00000000", "a0"), "");
  EXPECT_EQ(DefaultGatewayFromRouteTable("a0 00000000 zz 0003 0 0 0 00000000", "a0"), "");
  // Spaces instead of tabs and no final newline.
  EXPECT_EQ(DefaultGatewayFromRouteTable("a0  00000000  FE01A8C0  0003  0  0  0  00000000", "a0"),
            "192.168.1.254");
}

}  // namespace
}  // namespace orvane

#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The first default gateway through `interfaceName` in the text of Linux's
// /proc/net/route, as dotted decimal, or the empty text when that interface
// has none. The kernel lists the routes of one destination in order of their
// metric, so the first line found is the gateway that interface would use.
std::string DefaultGatewayFromRouteTable(std::string_view table, std::string_view interfaceName);

}  // namespace orvane

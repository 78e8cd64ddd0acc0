// The PC's route table as Linux prints it in /proc/net/route. The input is an
// interface name (up to the first line end) and the table (the rest).
// Properties: the gateway found is empty or a valid dotted address; a gateway
// is only ever found on a line of that interface.

#include "hostnet/ipv4_text.h"
#include "hostnet/proc_net_route.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane;
  const std::string_view input = fuzz::Bytes(data, size);
  const std::size_t end = input.find('\n');
  if (end == std::string_view::npos) return 0;
  const std::string_view interfaceName = input.substr(0, end);
  const std::string_view table = input.substr(end + 1);

  const std::string gateway = DefaultGatewayFromRouteTable(table, interfaceName);
  if (gateway.empty()) return 0;
  FUZZ_CHECK(ParseDottedQuad(gateway).has_value());
  FUZZ_CHECK(!interfaceName.empty() && table.find(interfaceName) != std::string_view::npos);
  return 0;
}

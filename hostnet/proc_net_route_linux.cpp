#include <arpa/inet.h>

#include <charconv>
#include <cstdint>
#include <vector>

#include "hostnet/ipv4_text.h"
#include "hostnet/proc_net_route.h"

namespace orvane {
namespace {

// Route flags from <linux/route.h>, repeated so this stays plain text work.
constexpr unsigned kRouteUp = 0x0001;
constexpr unsigned kRouteGateway = 0x0002;

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t", pos);
    if (start == std::string_view::npos) {
      break;
    }
    const std::size_t end = line.find_first_of(" \t", start);
    fields.push_back(
        line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    pos = end;
  }
  return fields;
}

bool ParseHex(std::string_view text, std::uint32_t& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, 16);
  return ec == std::errc() && ptr == end;
}

}  // namespace

std::string DefaultGatewayFromRouteTable(std::string_view table, std::string_view interfaceName) {
  // Columns: Iface Destination Gateway Flags RefCnt Use Metric Mask ...
  // The first line is the header; it fails the hex parse below.
  std::size_t pos = 0;
  while (pos < table.size()) {
    std::size_t end = table.find('\n', pos);
    if (end == std::string_view::npos) {
      end = table.size();
    }
    const std::vector<std::string_view> f = SplitFields(table.substr(pos, end - pos));
    pos = end + 1;

    std::uint32_t destination = 0;
    std::uint32_t gateway = 0;
    std::uint32_t flags = 0;
    std::uint32_t mask = 0;
    if (f.size() < 8 || f[0] != interfaceName || !ParseHex(f[1], destination) ||
        !ParseHex(f[2], gateway) || !ParseHex(f[3], flags) || !ParseHex(f[7], mask)) {
      continue;
    }
    if (destination != 0 || mask != 0 || (flags & kRouteUp) == 0 || (flags & kRouteGateway) == 0) {
      continue;
    }
    // The kernel prints the network-order word as a native integer.
    return FormatDottedQuad(ntohl(gateway));
  }
  return {};
}

}  // namespace orvane

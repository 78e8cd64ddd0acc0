#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "hostnet/adapter_settings.h"
#include "hostnet/ipv4_text.h"
#include "hostnet/proc_net_route.h"

namespace orvane {
namespace {

// What GetAdaptersInfo reports for an adapter without a default gateway. The
// device is given this value as its gateway in that case, the same as a
// Windows PC would give it.
constexpr std::string_view kNoGateway = "0.0.0.0";

void CopyField(std::array<char, 16>& field, std::string_view value) {
  field.fill('\0');
  // Keep the terminating NUL, as the 16-byte platform field does.
  const std::size_t n = std::min(value.size(), field.size() - 1);
  std::copy_n(value.begin(), n, field.begin());
}

std::string DottedText(const sockaddr* address) {
  const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
  return FormatDottedQuad(ntohl(v4->sin_addr.s_addr));
}

// An address added with a label ("eth0:1") is listed under the label; the
// interface, and its routes, go by the part before the colon.
std::string InterfaceName(const char* label) {
  const std::string_view text(label);
  return std::string(text.substr(0, text.find(':')));
}

std::string ReadRouteTable() {
  // /proc/net follows the reading process's network namespace.
  std::ifstream file("/proc/net/route");
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Linux has no single call like GetAdaptersInfo. An adapter here is an
// interface that carries an IPv4 address; loopback is not one. getifaddrs
// lists the IPv4 addresses in the kernel's order (by interface index, each
// interface's primary addresses first, in the order they were added), so the
// first entry of an interface is its first address, with that address's own
// mask. The gateway comes from the main routing table.
class LinuxAdapterSource final : public AdapterSource {
 public:
  bool Query(std::vector<AdapterRecord>& adapters) override {
    adapters.clear();
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
      return false;
    }
    const std::string routes = ReadRouteTable();
    std::vector<std::string> seen;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
      if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
          (entry->ifa_flags & IFF_LOOPBACK) != 0) {
        continue;
      }
      const std::string name = InterfaceName(entry->ifa_name);
      if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
        continue;
      }
      seen.push_back(name);
      AdapterRecord record{};
      CopyField(record.IpAddress, DottedText(entry->ifa_addr));
      if (entry->ifa_netmask != nullptr) {
        CopyField(record.IpMask, DottedText(entry->ifa_netmask));
      }
      const std::string gateway = DefaultGatewayFromRouteTable(routes, name);
      CopyField(record.Gateway, gateway.empty() ? kNoGateway : gateway);
      record.Name = name;
      record.Index = ::if_nametoindex(name.c_str());
      // IFF_RUNNING: the link itself is up (a cable, an associated Wi-Fi).
      record.Up = (entry->ifa_flags & IFF_UP) != 0 && (entry->ifa_flags & IFF_RUNNING) != 0;
      adapters.push_back(record);
    }
    ::freeifaddrs(list);
    return true;
  }
};

}  // namespace

std::unique_ptr<AdapterSource> MakePlatformAdapterSource() {
  return std::make_unique<LinuxAdapterSource>();
}

}  // namespace orvane

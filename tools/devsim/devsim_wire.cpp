#include "tools/devsim/devsim_wire.h"

#include <arpa/inet.h>

#include <array>
#include <cstdint>

namespace orvane::devsim {

namespace {

void AppendField(std::string& out, std::string_view key, std::string_view value) {
  out += ';';
  out += key;
  out += value;
  out += '\'';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string ComposeDiscoveryReply(const DeviceFacts& facts) {
  std::string out = "0C01R";
  out += facts.identity;
  AppendField(out, "IP='", facts.address);
  AppendField(out, "NETMASK='", facts.netmask);
  AppendField(out, "GATEWAY='", facts.gateway);
  AppendField(out, "HOSTNAME='", facts.hostName);
  AppendField(out, "WORKGROUP='", facts.workgroup);
  AppendField(out, "HOSTNAME_FULL='", facts.hostNameFull.value_or(facts.hostName));
  if (facts.hasDisk) {
    AppendField(out, "HDMODEL='", facts.diskModel);
    AppendField(out, "HDCAPACITY='", facts.diskCapacity);
    AppendField(out, "HDTOTAL='", facts.diskTotal);
    AppendField(out, "HDAVAIL='", facts.diskAvailable);
  }
  return out;
}

std::string ComposeConfigReply(std::string_view identity, char status) {
  std::string out = "0C02R";
  out += identity;
  out += status;
  return out;
}

ConfigParse ParseConfigRequest(std::string_view datagram, std::string_view identity,
                               ConfigRequest& out) {
  const std::size_t head = kConfigRequestKind.size() + kIdentityLength;
  if (datagram.size() < head ||
      datagram.substr(0, kConfigRequestKind.size()) != kConfigRequestKind ||
      datagram.substr(kConfigRequestKind.size(), kIdentityLength) != identity) {
    return ConfigParse::kNotForMe;
  }
  std::string_view rest = datagram.substr(head);
  std::array<std::string*, 6> positional = {&out.address,  &out.netmask,   &out.gateway,
                                            &out.hostName, &out.workgroup, &out.hostNameFull};
  for (std::string* field : positional) {
    const std::size_t sep = rest.find(';');
    if (sep == std::string_view::npos) return ConfigParse::kMalformed;
    field->assign(rest.substr(0, sep));
    rest.remove_prefix(sep + 1);
  }
  const std::size_t sep = rest.find(';');
  if (sep == std::string_view::npos) return ConfigParse::kMalformed;
  out.credentials.assign(rest);
  out.userName.assign(rest.substr(0, sep));
  out.password.assign(rest.substr(sep + 1));
  return ConfigParse::kOk;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case '0':
        out += '\0';
        break;
      case 'x': {
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = HexValue(text[i + 1]);
        const int lo = HexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::optional<int> MaskPrefixLength(std::string_view netmask) {
  in_addr addr{};
  if (inet_pton(AF_INET, std::string(netmask).c_str(), &addr) != 1) return std::nullopt;
  const std::uint32_t mask = ntohl(addr.s_addr);
  // A valid mask is a run of ones followed by zeros: its complement plus one
  // is then a power of two (or zero for /0).
  const std::uint32_t inverted = ~mask;
  if ((inverted & (inverted + 1)) != 0) return std::nullopt;
  int bits = 0;
  for (std::uint32_t m = mask; m != 0; m <<= 1) ++bits;
  return bits;
}

std::string JunkDatagram(int index) {
  static const std::array<std::string, 8> kJunk = {
      std::string(),
      std::string("0C0"),
      std::string("0c01r00:0A:1B:2C:3D:4E;ip='10.9.9.9'"),
      std::string("0C02S"),
      std::string("\x00\xff\xfe\x80junk", 8),
      std::string("0C03R00:0A:1B:2C:3D:4E2"),
      std::string(" 0C01R"),
      std::string(1400, 'Z'),
  };
  return kJunk[static_cast<std::size_t>(index) % kJunk.size()];
}

}  // namespace orvane::devsim

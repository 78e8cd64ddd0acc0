#include "hostnet/firewall.h"

#include <algorithm>
#include <charconv>

namespace orvane {
namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Windows compares paths without regard to case.
bool SamePath(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

std::optional<unsigned> Number(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A list such as "*", "12310", "5000-6000,12310". Keywords such as "RPC"
// never name a plain port.
bool PortsHold(std::string_view ports, std::uint16_t port) {
  if (Trimmed(ports).empty()) return true;
  while (!ports.empty()) {
    const std::size_t comma = ports.find(',');
    const std::string_view entry = Trimmed(ports.substr(0, comma));
    ports.remove_prefix(comma == std::string_view::npos ? ports.size() : comma + 1);
    if (entry == "*") return true;
    const std::size_t dash = entry.find('-');
    const auto low = Number(entry.substr(0, dash));
    const auto high = dash == std::string_view::npos ? low : Number(entry.substr(dash + 1));
    if (low && high && *low <= port && port <= *high) return true;
  }
  return false;
}

// Whether the rule speaks of inbound datagrams to `port` of the program.
bool Matches(const FirewallRule& rule, std::string_view programPath, std::uint16_t port) {
  if (!rule.enabled || !rule.inbound) return false;
  if (!rule.application.empty() && !SamePath(rule.application, programPath)) return false;
  if (rule.protocol == kProtocolAny) return true;
  return rule.protocol == kProtocolUdp && PortsHold(rule.localPorts, port);
}

}  // namespace

std::optional<FirewallState> JudgeFirewall(FirewallRules& firewall, std::string_view programPath,
                                           std::uint16_t port) {
  const std::optional<std::uint32_t> active = firewall.CurrentProfiles();
  if (!active || (*active & (kFirewallDomain | kFirewallPrivate | kFirewallPublic)) == 0)
    return std::nullopt;
  FirewallState state;
  state.active = *active;
  std::uint32_t blocking = 0;  // active, on, and blocking by default
  for (FirewallProfile profile : kFirewallProfiles) {
    if (!(*active & profile)) continue;
    const std::optional<bool> on = firewall.Enabled(profile);
    const std::optional<bool> blocks = firewall.BlocksInbound(profile);
    if (!on || !blocks) return std::nullopt;
    if (!*on) continue;
    state.enabled |= profile;
    if (*blocks) blocking |= profile;
  }
  if (state.enabled == 0) return state;
  const std::optional<std::vector<FirewallRule>> rules = firewall.Rules();
  if (!rules) return std::nullopt;
  std::uint32_t allowed = 0;
  bool blocked = false;
  for (const FirewallRule& rule : *rules) {
    if (!(rule.profiles & state.enabled) || !Matches(rule, programPath, port)) continue;
    if (rule.allow)
      allowed |= rule.profiles & state.enabled;
    else
      blocked = true;
  }
  state.blocksInbound = blocking != 0;
  state.allowRule = allowed == state.enabled;
  // A block rule wins over every allow rule, in Windows Firewall as here.
  if (blocked)
    state.verdict = FirewallState::Verdict::Blocked;
  else if ((blocking & ~allowed) != 0)
    state.verdict = FirewallState::Verdict::NotAllowed;
  else
    state.verdict = FirewallState::Verdict::Allowed;
  return state;
}

}  // namespace orvane

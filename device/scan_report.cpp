#include "device/scan_report.h"

#include <algorithm>
#include <utility>

#include "hostnet/socket_errors.h"

namespace orvane {
namespace {

TextId CauseText(ScanCause cause) {
  switch (cause) {
    case ScanCause::PortHeld:
      return TextId::CausePortHeld;
    case ScanCause::NoAdapter:
      return TextId::CauseNoAdapter;
    case ScanCause::NotSent:
      return TextId::CauseNotSent;
    case ScanCause::Firewall:
      return TextId::CauseFirewall;
    case ScanCause::FirewallCertain:
      return TextId::CauseFirewallCertain;
    case ScanCause::Starting:
      return TextId::CauseStarting;
    case ScanCause::FirewallBlocks:
      return TextId::CauseFirewallBlocks;
    case ScanCause::FirewallNoRule:
      return TextId::CauseFirewallNoRule;
    case ScanCause::OtherNetwork:
      break;
  }
  return TextId::CauseOtherNetwork;
}

// "private", or "domain/public" when more than one profile is meant.
std::string ProfileNames(std::uint32_t profiles, Language language) {
  const std::pair<FirewallProfile, TextId> names[] = {{kFirewallDomain, TextId::FirewallDomain},
                                                      {kFirewallPrivate, TextId::FirewallPrivate},
                                                      {kFirewallPublic, TextId::FirewallPublic}};
  std::string out;
  for (const auto& [profile, name] : names)
    if (profiles & profile) out += (out.empty() ? "" : "/") + LoadText(name, language);
  return out;
}

std::string FirewallLine(const FirewallState& state, Language language) {
  const auto text = [language](TextId id) { return LoadText(id, language); };
  if (state.verdict == FirewallState::Verdict::Off)
    return FillText(text(TextId::ChecksFirewallOff), {ProfileNames(state.active, language)});
  const TextId rules = state.verdict == FirewallState::Verdict::Blocked ? TextId::FirewallRuleBlocks
                       : state.allowRule                                ? TextId::FirewallRuleAllows
                                                                        : TextId::FirewallNoRule;
  return FillText(
      text(TextId::ChecksFirewallOn),
      {ProfileNames(state.enabled, language),
       text(state.blocksInbound ? TextId::FirewallBlock : TextId::FirewallAllow), text(rules)});
}

}  // namespace

std::vector<ScanCause> LikelyCauses(const ScanReport& report) {
  if (report.deviceReplies > 0) return {};
  // A reply port that cannot be bound explains everything: no reply could
  // have been received, whatever else was right.
  if (!report.portBound) return {ScanCause::PortHeld};
  if (report.adapters.empty()) return {ScanCause::NoAdapter};
  const bool sent = std::any_of(report.adapters.begin(), report.adapters.end(), [](const auto& a) {
    return a.tried && a.outcome.stage == SendOutcome::Stage::Sent;
  });
  if (!sent) return {ScanCause::NotSent};
  using Verdict = FirewallState::Verdict;
  const std::optional<Verdict> firewall =
      report.firewall ? std::optional(report.firewall->verdict) : std::nullopt;
  // Windows Firewall's own rule: no reply could have got in.
  if (firewall == Verdict::Blocked) return {ScanCause::FirewallBlocks};
  // Dropped on its way from this PC to itself: no network is to blame.
  if (report.selfTest == false) return {ScanCause::FirewallCertain};
  if (firewall == Verdict::NotAllowed)
    return {ScanCause::FirewallNoRule, ScanCause::Starting, ScanCause::OtherNetwork};
  // Windows Firewall lets the port in: another firewall still may not.
  if (firewall) return {ScanCause::Starting, ScanCause::OtherNetwork, ScanCause::Firewall};
  return {ScanCause::Firewall, ScanCause::Starting, ScanCause::OtherNetwork};
}

std::string DescribeScanReport(const ScanReport& report, Language language) {
  const auto text = [language](TextId id) { return LoadText(id, language); };
  std::vector<std::string> lines{text(TextId::ChecksHeading)};
  if (report.adapters.empty()) lines.push_back(text(TextId::ChecksNoAdapter));
  for (const ScanReport::AdapterCheck& check : report.adapters) {
    const LocalSettings& s = check.adapter.settings;
    lines.push_back(FillText(text(TextId::ChecksAdapter),
                             {check.adapter.name, s.LocalAddress, s.LocalNetmask, s.LocalGateway}));
  }
  lines.push_back(report.portBound ? text(TextId::ChecksPortReady)
                                   : FillText(text(TextId::ChecksPortFailed), {report.portError}));
  for (const ScanReport::AdapterCheck& check : report.adapters) {
    if (!check.tried) continue;
    if (check.outcome.stage == SendOutcome::Stage::Sent) {
      lines.push_back(FillText(text(TextId::ChecksSent), {check.adapter.name}));
    } else {
      const std::int32_t code = check.outcome.wsaCode;
      const std::string error = std::to_string(code) + " " + SocketErrorText(code);
      lines.push_back(FillText(text(TextId::ChecksNotSent), {check.adapter.name, error}));
    }
  }
  lines.push_back(FillText(text(TextId::ChecksReplies), {std::to_string(report.deviceReplies)}));
  lines.push_back(
      FillText(text(TextId::ChecksOtherDatagrams), {std::to_string(report.otherDatagrams)}));
  if (report.selfTest)
    lines.push_back(
        text(*report.selfTest ? TextId::ChecksSelfTestArrived : TextId::ChecksSelfTestLost));
  if (report.firewall) lines.push_back(FirewallLine(*report.firewall, language));
  const std::vector<ScanCause> causes = LikelyCauses(report);
  if (!causes.empty()) {
    lines.push_back("");
    lines.push_back(text(TextId::ChecksCauses));
    for (ScanCause cause : causes) lines.push_back("- " + text(CauseText(cause)));
  }
  std::string out;
  for (const std::string& line : lines) out += (out.empty() ? "" : "\r\n") + line;
  return out;
}

}  // namespace orvane

#include "cli/device_output.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>
#include <vector>

#include "cli/terminal_text.h"
#include "device/list_format.h"
#include "resources/text_table.h"
#include "text/utf_text.h"

namespace orvane {

namespace {

// The cells are written for scripts as much as for people: a point, whatever
// the user's regional settings.
constexpr char kPoint = '.';

constexpr int kColumns = 8;

std::size_t CodePoints(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::array<std::string, kColumns> Cells(std::size_t number, const DeviceRow& row) {
  const DeviceRecord& d = *row.device;
  return {std::to_string(number),           row.reachable ? "Yes" : "No",
          TerminalText(d.HostName),         TerminalText(d.IpAddress),
          TerminalText(d.DiskModel),        FormatCapacity(d.DiskCapacity, kPoint),
          FormatTotal(d.DiskTotal, kPoint), FormatUsed(d.DiskTotal, d.DiskAvailable, kPoint)};
}

std::string Escape(char32_t c) {
  char text[8];
  std::snprintf(text, sizeof text, "\\u%04x", unsigned(c));
  return text;
}

}  // namespace

std::string DeviceTableText(std::span<const DeviceRow> rows) {
  std::vector<std::array<std::string, kColumns>> lines;
  std::array<std::string, kColumns> header;
  for (int n = 0; n < kColumns; ++n)
    header[n] = LoadText(static_cast<TextId>(static_cast<int>(TextId::ColumnNumber) + n),
                         Language::English);
  lines.push_back(header);
  for (std::size_t i = 0; i < rows.size(); ++i) lines.push_back(Cells(i, rows[i]));
  std::array<std::size_t, kColumns> width{};
  for (const auto& line : lines)
    for (int n = 0; n < kColumns; ++n) width[n] = std::max(width[n], CodePoints(line[n]));
  std::string text;
  for (const auto& line : lines) {
    std::string out;
    for (int n = 0; n < kColumns; ++n) {
      out += line[n];
      if (n + 1 < kColumns) out.append(width[n] - CodePoints(line[n]) + 2, ' ');
    }
    text += out.substr(0, out.find_last_not_of(' ') + 1) + "\n";
  }
  return text;
}

std::string JsonString(std::string_view bytes) {
  static constexpr char32_t kReplacement = 0xFFFD;
  std::string text = "\"";
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    char32_t c = 0;
    if (!NextUtf8CodePoint(bytes, pos, c)) {
      AppendUtf8(text, kReplacement);
    } else if (c == '"' || c == '\\') {
      text += '\\';
      text += char(c);
    } else if (TerminalActsOn(c)) {
      text += Escape(c);
    } else {
      text.append(bytes.substr(start, pos - start));
    }
  }
  return text + "\"";
}

std::string HexBytes(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 0xF];
  }
  return hex;
}

std::string DeviceListJson(std::span<const DeviceRow> rows, std::span<const HeardOn> heardOn) {
  if (rows.empty()) return "[]\n";
  std::string text = "[\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const DeviceRecord& d = *rows[i].device;
    const auto field = [&text](std::string_view name, const std::string& json) {
      text += ", \"" + std::string(name) + "\": " + json;
    };
    const auto sent = [&field](std::string_view name, std::string_view bytes) {
      field(name, JsonString(bytes));
      field(std::string(name) + "Hex", "\"" + HexBytes(bytes) + "\"");
    };
    text += "  {\"number\": " + std::to_string(i);
    field("reachable", rows[i].reachable ? "true" : "false");
    sent("identity", d.DeviceId);
    sent("ipAddress", d.IpAddress);
    sent("netmask", d.Netmask);
    sent("gateway", d.Gateway);
    sent("hostName", d.HostName);
    sent("workgroup", d.Workgroup);
    sent("hostNameFull", d.HostNameFull);
    sent("diskModel", d.DiskModel);
    field("diskCapacity", std::to_string(d.DiskCapacity));
    field("diskTotal", std::to_string(d.DiskTotal));
    field("diskAvailable", std::to_string(d.DiskAvailable));
    field("capacity", JsonString(FormatCapacity(d.DiskCapacity, kPoint)));
    field("total", JsonString(FormatTotal(d.DiskTotal, kPoint)));
    field("used", JsonString(FormatUsed(d.DiskTotal, d.DiskAvailable, kPoint)));
    if (i < heardOn.size()) {
      field("adapter", "{\"name\": " + JsonString(heardOn[i].adapter) +
                           ", \"localAddress\": " + JsonString(heardOn[i].localAddress) + "}");
    }
    text += i + 1 < rows.size() ? "},\n" : "}\n";
  }
  return text + "]\n";
}

std::string ScanReportText(const ScanReport& report) {
  std::string text = DescribeScanReport(report, Language::English);
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text + "\n";
}

namespace {

std::string ProfilesJson(std::uint32_t profiles) {
  std::string out;
  for (const auto& [profile, name] :
       {std::pair{kFirewallDomain, "\"domain\""}, std::pair{kFirewallPrivate, "\"private\""},
        std::pair{kFirewallPublic, "\"public\""}})
    if (profiles & profile) out += (out.empty() ? "" : ", ") + std::string(name);
  return "[" + out + "]";
}

std::string FirewallJson(const std::optional<FirewallState>& state) {
  if (!state) return "null";
  // Names of FirewallState::Verdict, in its order.
  static constexpr const char* kVerdicts[] = {"off", "allowed", "not-allowed", "blocked"};
  static_assert(std::size(kVerdicts) == static_cast<int>(FirewallState::Verdict::Blocked) + 1);
  const auto yes = [](bool b) { return std::string(b ? "true" : "false"); };
  return "{\"activeProfiles\": " + ProfilesJson(state->active) +
         ", \"enabledProfiles\": " + ProfilesJson(state->enabled) +
         ", \"blocksInbound\": " + yes(state->blocksInbound) +
         ", \"allowRule\": " + yes(state->allowRule) + ", \"verdict\": \"" +
         kVerdicts[static_cast<int>(state->verdict)] + "\"}";
}

}  // namespace

std::string ScanReportJson(const ScanReport& report) {
  const auto yes = [](bool b) { return std::string(b ? "true" : "false"); };
  std::string text = "{\"adapters\": [";
  for (std::size_t i = 0; i < report.adapters.size(); ++i) {
    const ScanReport::AdapterCheck& a = report.adapters[i];
    const bool sent = a.tried && a.outcome.stage == SendOutcome::Stage::Sent;
    text += std::string(i ? ", " : "") + "{\"name\": " + JsonString(a.adapter.name) +
            ", \"address\": " + JsonString(a.adapter.settings.LocalAddress) +
            ", \"netmask\": " + JsonString(a.adapter.settings.LocalNetmask) +
            ", \"gateway\": " + JsonString(a.adapter.settings.LocalGateway) +
            ", \"up\": " + yes(a.adapter.up) + ", \"tried\": " + yes(a.tried) +
            ", \"sent\": " + yes(sent) + ", \"error\": " + std::to_string(a.outcome.wsaCode) + "}";
  }
  text += "], \"portBound\": " + yes(report.portBound) +
          ", \"portError\": " + JsonString(report.portError) +
          ", \"deviceReplies\": " + std::to_string(report.deviceReplies) +
          ", \"otherDatagrams\": " + std::to_string(report.otherDatagrams) +
          ", \"selfTest\": " + (report.selfTest ? yes(*report.selfTest) : "null") +
          ", \"firewall\": " + FirewallJson(report.firewall) + ", \"causes\": [";
  // Names of ScanCause, in its order.
  static constexpr const char* kCauses[] = {
      "port-held", "no-adapter",    "not-sent",        "firewall-certain", "firewall",
      "starting",  "other-network", "firewall-blocks", "firewall-no-rule"};
  static_assert(std::size(kCauses) == static_cast<int>(ScanCause::FirewallNoRule) + 1);
  const std::vector<ScanCause> causes = LikelyCauses(report);
  for (std::size_t i = 0; i < causes.size(); ++i)
    text += std::string(i ? ", " : "") + "\"" + kCauses[static_cast<int>(causes[i])] + "\"";
  return text + "]}\n";
}

}  // namespace orvane

// The likely causes of an empty scan, and the words a user reads and copies.

#include "device/scan_report.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using Stage = SendOutcome::Stage;

ScanReport::AdapterCheck Check(const char* name, Stage stage, bool tried = true) {
  return {{name, 2, {"192.168.1.10", "255.255.255.0", "192.168.1.1"}, true},
          tried,
          {stage, stage == Stage::Sent ? 0 : 10051}};
}

FirewallState Firewall(FirewallState::Verdict verdict) {
  return {verdict, kFirewallPrivate | kFirewallPublic, kFirewallPrivate, true, false};
}

TEST(ScanReport, LikelyCausesFollowWhatWasChecked) {
  using C = ScanCause;
  using V = FirewallState::Verdict;
  const std::vector<C> general{C::Firewall, C::Starting, C::OtherNetwork};
  const struct {
    ScanReport report;
    std::vector<C> causes;
  } cases[] = {
      {{{Check("eth0", Stage::Sent)}, false, "in use", 0, 0}, {C::PortHeld}},
      {{{}, true, "", 0, 0}, {C::NoAdapter}},
      {{{Check("eth0", Stage::SendFailed), Check("eth1", Stage::Sent, false)}, true, "", 0, 0},
       {C::NotSent}},
      {{{Check("eth0", Stage::SendFailed), Check("eth1", Stage::Sent)}, true, "", 0, 3}, general},
      {{{Check("eth0", Stage::Sent)}, true, "", 0, 0, true}, general},
      {{{Check("eth0", Stage::Sent)}, true, "", 0, 0, false}, {C::FirewallCertain}},
      {{{Check("eth0", Stage::Sent)}, true, "", 1, 0}, {}},
      {{{Check("eth0", Stage::Sent)}, true, "", 0, 0, false, Firewall(V::Blocked)},
       {C::FirewallBlocks}},
      {{{Check("eth0", Stage::Sent)}, false, "in use", 0, 0, {}, Firewall(V::Blocked)},
       {C::PortHeld}},
      {{{Check("eth0", Stage::Sent)}, true, "", 0, 0, false, Firewall(V::NotAllowed)},
       {C::FirewallCertain}},
      {{{Check("eth0", Stage::Sent)}, true, "", 0, 0, true, Firewall(V::NotAllowed)},
       {C::FirewallNoRule, C::Starting, C::OtherNetwork}},
      {{{Check("eth0", Stage::Sent)}, true, "", 0, 0, true, Firewall(V::Allowed)},
       {C::Starting, C::OtherNetwork, C::Firewall}},
  };
  for (const auto& c : cases) EXPECT_EQ(LikelyCauses(c.report), c.causes);
}

TEST(ScanReport, WordsNameEachCheckInBothLanguages) {
  const ScanReport report{
      {Check("eth0", Stage::Sent), Check("tun%20", Stage::SendFailed)}, true, "", 0, 4};
  EXPECT_EQ(DescribeScanReport(report, Language::English),
            "What the wizard checked:\r\n"
            "Network adapter eth0: IP address 192.168.1.10, subnet mask 255.255.255.0, gateway "
            "192.168.1.1\r\n"
            "Network adapter tun%20: IP address 192.168.1.10, subnet mask 255.255.255.0, gateway "
            "192.168.1.1\r\n"
            "UDP port 12310 for the replies: ready.\r\n"
            "Search request sent on eth0.\r\n"
            "Search request could not be sent on tun%20: 10051 Network is unreachable.\r\n"
            "Orvane replies received: 0\r\n"
            "Other datagrams received on port 12310: 4\r\n"
            "\r\n"
            "Likely causes:\r\n"
            "- " +
                LoadText(TextId::CauseFirewall, Language::English) +
                "\r\n"
                "- " +
                LoadText(TextId::CauseStarting, Language::English) +
                "\r\n"
                "- " +
                LoadText(TextId::CauseOtherNetwork, Language::English));
  const std::string chinese = DescribeScanReport(report, Language::TraditionalChinese);
  EXPECT_EQ(chinese.rfind("設定精靈檢查了以下項目：\r\n網路卡 eth0：IP位址 192.168.1.10", 0), 0u);
  EXPECT_NE(chinese.find("在埠12310收到的其他封包：4 個"), std::string::npos);
}

TEST(ScanReport, WordsSayWhatWindowsFirewallSays) {
  using V = FirewallState::Verdict;
  const std::pair<FirewallState, const char*> cases[] = {
      {Firewall(V::Blocked),
       "on for the private profile; inbound default: block; a rule blocks this program."},
      {{V::Allowed, 5, 5, false, true},  // domain and public
       "on for the domain/public profile; inbound default: allow; a rule allows this program or "
       "UDP port 12310."},
      {Firewall(V::NotAllowed),
       "on for the private profile; inbound default: block; no rule allows this program or UDP "
       "port 12310."},
      {{V::Off, kFirewallPublic, 0, false, false}, "off for the public profile."},
  };
  for (const auto& [state, words] : cases) {
    const ScanReport report{{Check("eth0", Stage::Sent)}, true, "", 0, 0, true, state};
    EXPECT_NE(DescribeScanReport(report, Language::English)
                  .find(std::string("arrived.\r\nWindows Firewall: ") + words + "\r\n\r\n"),
              std::string::npos)
        << words;
  }
  const ScanReport blocked{{Check("eth0", Stage::Sent)}, true, "", 0, 0, true, cases[0].first};
  EXPECT_NE(
      DescribeScanReport(blocked, Language::TraditionalChinese)
          .find("Windows 防火牆：私人設定檔已開啟；輸入的預設動作：封鎖；有規則封鎖本設定程式。"),
      std::string::npos);
}

}  // namespace
}  // namespace orvane

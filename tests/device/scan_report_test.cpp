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

TEST(ScanReport, LikelyCausesFollowWhatWasChecked) {
  using C = ScanCause;
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

}  // namespace
}  // namespace orvane

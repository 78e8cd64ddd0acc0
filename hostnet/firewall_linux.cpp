// Linux has no Windows Firewall: nothing to ask, and nothing is said of it.

#include "hostnet/firewall.h"

namespace orvane {
namespace {

class NoFirewallRules final : public FirewallRules {
 public:
  std::optional<std::uint32_t> CurrentProfiles() override { return std::nullopt; }
  std::optional<bool> Enabled(FirewallProfile) override { return std::nullopt; }
  std::optional<bool> BlocksInbound(FirewallProfile) override { return std::nullopt; }
  std::optional<std::vector<FirewallRule>> Rules() override { return std::nullopt; }
};

}  // namespace

std::unique_ptr<FirewallRules> MakePlatformFirewallRules() {
  return std::make_unique<NoFirewallRules>();
}

std::string OwnProgramPath() {
  return {};
}

}  // namespace orvane

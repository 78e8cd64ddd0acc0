// ReadFirewall apart from the judging: it asks this PC's firewall, which only
// orvane_hostnet reaches; the judging stays portable.
#include "hostnet/firewall.h"

namespace orvane {

std::optional<FirewallState> ReadFirewall(std::uint16_t port) {
  const std::unique_ptr<FirewallRules> firewall = MakePlatformFirewallRules();
  return JudgeFirewall(*firewall, OwnProgramPath(), port);
}

}  // namespace orvane

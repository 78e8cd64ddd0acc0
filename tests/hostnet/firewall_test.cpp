// The verdict drawn from what Windows Firewall says, on a fake of it.

#include "hostnet/firewall.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr char kProgram[] = "C:\\Program Files\\Orvane Setup\\orvane-setup.exe";

struct FakeFirewall final : FirewallRules {
  std::optional<std::uint32_t> active = kFirewallPrivate;
  std::uint32_t on = 0x7;        // profiles the firewall is on in
  std::uint32_t blocking = 0x7;  // profiles that block inbound traffic by default
  std::optional<std::vector<FirewallRule>> rules = std::vector<FirewallRule>{};

  std::optional<std::uint32_t> CurrentProfiles() override { return active; }
  std::optional<bool> Enabled(FirewallProfile p) override { return (on & p) != 0; }
  std::optional<bool> BlocksInbound(FirewallProfile p) override { return (blocking & p) != 0; }
  std::optional<std::vector<FirewallRule>> Rules() override { return rules; }
};

// A rule as Windows lists it: `what` is a program's path or a UDP port list.
FirewallRule Rule(bool allow, std::string what, int protocol = kProtocolUdp,
                  std::uint32_t profiles = 0x7fffffff, bool enabled = true, bool inbound = true) {
  if (what.find('\\') != std::string::npos)
    return {what, kProtocolAny, "", inbound, allow, enabled, profiles};
  return {"", protocol, what, inbound, allow, enabled, profiles};
}

TEST(FirewallVerdict, FollowsProfilesDefaultsAndRules) {
  using V = FirewallState::Verdict;
  const std::string other = "c:\\program files\\ORVANE SETUP\\Orvane-Setup.EXE";
  const std::vector outbound{Rule(true, "*", 17, 7, true, false),
                             Rule(false, kProgram, 0, 7, true, false)};
  const struct {
    const char* what;
    std::uint32_t on, blocking;
    std::vector<FirewallRule> rules;
    V verdict;
    bool allowRule;
  } cases[] = {
      {"off", 0, 7, {Rule(false, kProgram)}, V::Off, false},
      {"default block, no rule", 7, 7, {}, V::NotAllowed, false},
      {"default allow, no rule", 7, 0, {}, V::Allowed, false},
      {"the program, in its own case", 7, 7, {Rule(true, other)}, V::Allowed, true},
      {"another program", 7, 7, {Rule(true, "C:\\x.exe")}, V::NotAllowed, false},
      {"the port", 7, 7, {Rule(true, "80, 12310")}, V::Allowed, true},
      {"a range", 7, 7, {Rule(true, "12000-12400")}, V::Allowed, true},
      {"any port", 7, 7, {Rule(true, "*")}, V::Allowed, true},
      {"other ports", 7, 7, {Rule(true, "123100,RPC")}, V::NotAllowed, false},
      {"TCP", 7, 7, {Rule(true, "12310", 6)}, V::NotAllowed, false},
      {"another profile", 7, 7, {Rule(true, "*", 17, kFirewallPublic)}, V::NotAllowed, false},
      {"block wins", 7, 0, {Rule(true, "*"), Rule(false, kProgram)}, V::Blocked, true},
      {"disabled", 7, 7, {Rule(true, "*"), Rule(false, kProgram, 0, 7, false)}, V::Allowed, true},
      {"outbound", 7, 7, outbound, V::NotAllowed, false},
  };
  for (const auto& c : cases) {
    FakeFirewall firewall;
    firewall.on = c.on;
    firewall.blocking = c.blocking;
    firewall.rules = c.rules;
    const std::optional<FirewallState> state = JudgeFirewall(firewall, kProgram, 12310);
    ASSERT_TRUE(state) << c.what;
    EXPECT_EQ(state->verdict, c.verdict) << c.what;
    EXPECT_EQ(state->allowRule, c.allowRule) << c.what;
    EXPECT_EQ(state->enabled, c.on & kFirewallPrivate) << c.what;
  }
}

TEST(FirewallVerdict, EveryProfileInUseMustLetThePortIn) {
  FakeFirewall firewall;
  firewall.active = kFirewallPrivate | kFirewallPublic;
  firewall.rules = {Rule(true, "12310", kProtocolAny, kFirewallPrivate)};
  EXPECT_EQ(JudgeFirewall(firewall, kProgram, 12310)->verdict, FirewallState::Verdict::NotAllowed);
  firewall.blocking = kFirewallPrivate;
  EXPECT_EQ(JudgeFirewall(firewall, kProgram, 12310)->verdict, FirewallState::Verdict::Allowed);
}

TEST(FirewallVerdict, NothingWhenAnyAnswerIsMissing) {
  FakeFirewall noProfiles, noRules;
  noProfiles.active.reset();
  noRules.rules.reset();
  EXPECT_FALSE(JudgeFirewall(noProfiles, kProgram, 12310));
  EXPECT_FALSE(JudgeFirewall(noRules, kProgram, 12310));
}

}  // namespace
}  // namespace orvane

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

FirewallRule ForProgram(bool allow, std::string path = kProgram) {
  FirewallRule rule;
  rule.application = std::move(path);
  rule.allow = allow;
  return rule;
}

FirewallRule ForPort(const char* ports, int protocol = kProtocolUdp,
                     std::uint32_t profiles = 0x7fffffff) {
  FirewallRule rule;
  rule.protocol = protocol;
  rule.localPorts = ports;
  rule.profiles = profiles;
  return rule;
}

FirewallRule Changed(FirewallRule rule, bool enabled, bool inbound) {
  rule.enabled = enabled;
  rule.inbound = inbound;
  return rule;
}

TEST(FirewallVerdict, FollowsProfilesDefaultsAndRules) {
  using V = FirewallState::Verdict;
  const struct {
    const char* what;
    std::uint32_t on, blocking;
    std::vector<FirewallRule> rules;
    V verdict;
    bool allowRule;
  } cases[] = {
      {"off", 0, 0x7, {ForProgram(false)}, V::Off, false},
      {"default block, no rule", 0x7, 0x7, {}, V::NotAllowed, false},
      {"default allow, no rule", 0x7, 0, {}, V::Allowed, false},
      {"rule for the program, in its own case",
       0x7,
       0x7,
       {ForProgram(true, "c:\\program files\\ORVANE SETUP\\Orvane-Setup.EXE")},
       V::Allowed,
       true},
      {"rule for another program", 0x7, 0x7, {ForProgram(true, "C:\\x.exe")}, V::NotAllowed, false},
      {"rule for the port", 0x7, 0x7, {ForPort("80, 12310")}, V::Allowed, true},
      {"rule for a range", 0x7, 0x7, {ForPort("12000-12400")}, V::Allowed, true},
      {"rule for any port", 0x7, 0x7, {ForPort("*")}, V::Allowed, true},
      {"rule for another port", 0x7, 0x7, {ForPort("123100,RPC")}, V::NotAllowed, false},
      {"rule for TCP", 0x7, 0x7, {ForPort("12310", 6)}, V::NotAllowed, false},
      {"rule in another profile only",
       0x7,
       0x7,
       {ForPort("12310", kProtocolUdp, kFirewallPublic)},
       V::NotAllowed,
       false},
      {"block rule wins", 0x7, 0, {ForProgram(true), ForProgram(false)}, V::Blocked, true},
      {"disabled block rule",
       0x7,
       0x7,
       {ForProgram(true), Changed(ForProgram(false), false, true)},
       V::Allowed,
       true},
      {"outbound rules",
       0x7,
       0x7,
       {Changed(ForProgram(true), true, false), Changed(ForProgram(false), true, false)},
       V::NotAllowed,
       false},
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
    EXPECT_EQ(state->active, kFirewallPrivate) << c.what;
    EXPECT_EQ(state->enabled, c.on & kFirewallPrivate) << c.what;
  }
}

TEST(FirewallVerdict, EveryProfileInUseMustLetThePortIn) {
  FakeFirewall firewall;
  firewall.active = kFirewallPrivate | kFirewallPublic;
  firewall.rules = {ForPort("12310", kProtocolAny, kFirewallPrivate)};
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

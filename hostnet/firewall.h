#pragma once
// Whether Windows Firewall lets the replies in: which of its profiles are
// active, whether it is on in them, what it does with inbound traffic no rule
// speaks of, and the inbound rules that allow or block this program or its
// UDP port. The reading stands behind FirewallRules (the firewall's COM
// interface on Windows, nothing on Linux); the verdict drawn from it is plain
// logic.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Profile bits, numbered as Windows numbers them.
enum FirewallProfile : std::uint32_t {
  kFirewallDomain = 1,
  kFirewallPrivate = 2,
  kFirewallPublic = 4,
};
inline constexpr FirewallProfile kFirewallProfiles[] = {kFirewallDomain, kFirewallPrivate,
                                                        kFirewallPublic};
inline constexpr int kProtocolUdp = 17;
inline constexpr int kProtocolAny = 256;

struct FirewallRule {
  std::string application;  // the full path of the program it is for; empty: any
  int protocol = kProtocolAny;
  std::string localPorts;  // "12310", "5000-6000,12310", "*"; empty: any
  bool inbound = true;
  bool allow = true;
  bool enabled = true;
  std::uint32_t profiles = 0x7fffffff;  // the profile bits it holds in
};

// What the firewall says; each answer is nothing when it cannot be asked.
class FirewallRules {
 public:
  virtual ~FirewallRules() = default;
  virtual std::optional<std::uint32_t> CurrentProfiles() = 0;
  virtual std::optional<bool> Enabled(FirewallProfile profile) = 0;
  // Whether inbound traffic that no rule allows is blocked.
  virtual std::optional<bool> BlocksInbound(FirewallProfile profile) = 0;
  virtual std::optional<std::vector<FirewallRule>> Rules() = 0;
};

struct FirewallState {
  enum class Verdict {
    Off,         // off in every active profile
    Allowed,     // every active profile it is on in lets the port in
    NotAllowed,  // an active profile blocks by default and no rule allows
    Blocked,     // an enabled rule blocks the program or the port
  };
  Verdict verdict = Verdict::Off;
  std::uint32_t active = 0;    // the active profiles
  std::uint32_t enabled = 0;   // those of them the firewall is on in
  bool blocksInbound = false;  // one of those blocks by default
  bool allowRule = false;      // in each of those a rule allows the program or the port
  bool operator==(const FirewallState&) const = default;
};

// The firewall's say over datagrams to UDP `port` of the program at
// `programPath`; nothing when any part of it cannot be read.
std::optional<FirewallState> JudgeFirewall(FirewallRules& firewall, std::string_view programPath,
                                           std::uint16_t port);

// This PC's firewall: on Linux one that cannot be asked.
std::unique_ptr<FirewallRules> MakePlatformFirewallRules();
// The running program's own full path (UTF-8); empty where it does not matter.
std::string OwnProgramPath();

// This PC's firewall judged for this program and `port`.
std::optional<FirewallState> ReadFirewall(std::uint16_t port);

}  // namespace orvane

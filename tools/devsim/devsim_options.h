#pragma once
// The simulator's command line: global options, then one block of device
// options per simulated device.

#include <optional>
#include <string>
#include <vector>

#include "tools/devsim/devsim_wire.h"

namespace orvane::devsim {

enum class ReplyTarget { kBroadcast, kSender, kAddress };

// One simulated device: what it reports and how it misbehaves.
struct DeviceBehaviour {
  DeviceFacts facts;
  std::string userName = "vexil";
  std::string password = "vexil";
  std::string interfaceName;  // found from the address when empty
  bool apply = false;         // really move to the address of an accepted 0C02S
  bool silentDiscovery = false;
  bool silentConfig = false;
  bool loseConfigReply = false;  // act on a 0C02S, but let no reply leave
  int discoveryDelayMs = 0;
  int configDelayMs = 0;
  std::optional<std::string> discoveryRaw;  // sent instead of the composed 0C01R
  std::optional<std::string> configRaw;     // sent instead of the composed 0C02R
  int junkCount = 0;                        // junk datagrams sent ahead of each reply
  int repeat = 1;                           // copies of each reply
  ReplyTarget replyTarget = ReplyTarget::kBroadcast;
  std::string replyAddress;  // for ReplyTarget::kAddress
};

struct SimOptions {
  std::vector<DeviceBehaviour> devices;
  std::string logPath;  // standard error when empty
  int lifetimeSeconds = 300;
  bool allowRootNetns = false;
  bool help = false;
};

struct ParseResult {
  SimOptions options;
  std::string error;  // empty on success
};

// Reads argv[1..argc-1]. Device options before the first --device belong to
// the first device; every --device starts a new one. With no device option at
// all there is one device with the default facts.
ParseResult ParseOptions(const std::vector<std::string>& args);

// The --help text.
const char* UsageText();

}  // namespace orvane::devsim

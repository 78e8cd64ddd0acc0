#include "tools/devsim/devsim_options.h"

#include <arpa/inet.h>

#include <charconv>
#include <functional>
#include <map>

namespace orvane::devsim {

namespace {

// Applies one option value to the options; returns an error text or "".
using Setter = std::function<std::string(SimOptions&, DeviceBehaviour&, const std::string&)>;

std::optional<int> ParseCount(const std::string& value, int max) {
  int number = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (ec != std::errc() || end != value.data() + value.size() || number < 0 || number > max) {
    return std::nullopt;
  }
  return number;
}

Setter Text(std::string DeviceBehaviour::*member) {
  return [member](SimOptions&, DeviceBehaviour& d, const std::string& v) -> std::string {
    const auto bytes = Unescape(v);
    if (!bytes) return "bad escape in \"" + v + "\"";
    d.*member = *bytes;
    return "";
  };
}

Setter FactText(std::string DeviceFacts::*member) {
  return [member](SimOptions&, DeviceBehaviour& d, const std::string& v) -> std::string {
    const auto bytes = Unescape(v);
    if (!bytes) return "bad escape in \"" + v + "\"";
    d.facts.*member = *bytes;
    return "";
  };
}

Setter RawText(std::optional<std::string> DeviceBehaviour::*member) {
  return [member](SimOptions&, DeviceBehaviour& d, const std::string& v) -> std::string {
    const auto bytes = Unescape(v);
    if (!bytes) return "bad escape in \"" + v + "\"";
    d.*member = *bytes;
    return "";
  };
}

Setter Count(int DeviceBehaviour::*member, int max) {
  return [member, max](SimOptions&, DeviceBehaviour& d, const std::string& v) -> std::string {
    const auto number = ParseCount(v, max);
    if (!number) return "\"" + v + "\" is not a number from 0 to " + std::to_string(max);
    d.*member = *number;
    return "";
  };
}

const std::map<std::string, Setter>& ValueOptions() {
  static const std::map<std::string, Setter> kOptions = {
      {"--log",
       [](SimOptions& o, DeviceBehaviour&, const std::string& v) -> std::string {
         o.logPath = v;
         return "";
       }},
      {"--lifetime",
       [](SimOptions& o, DeviceBehaviour&, const std::string& v) -> std::string {
         const auto seconds = ParseCount(v, 86400);
         if (!seconds || *seconds == 0) return "--lifetime wants 1 to 86400 seconds";
         o.lifetimeSeconds = *seconds;
         return "";
       }},
      {"--id",
       [](SimOptions&, DeviceBehaviour& d, const std::string& v) -> std::string {
         const auto bytes = Unescape(v);
         if (!bytes || bytes->size() != kIdentityLength) {
           return "--id wants exactly 17 bytes (after escapes), got \"" + v + "\"";
         }
         d.facts.identity = *bytes;
         return "";
       }},
      {"--ip", FactText(&DeviceFacts::address)},
      {"--netmask", FactText(&DeviceFacts::netmask)},
      {"--gateway", FactText(&DeviceFacts::gateway)},
      {"--host", FactText(&DeviceFacts::hostName)},
      {"--workgroup", FactText(&DeviceFacts::workgroup)},
      {"--full-host",
       [](SimOptions&, DeviceBehaviour& d, const std::string& v) -> std::string {
         const auto bytes = Unescape(v);
         if (!bytes) return "bad escape in \"" + v + "\"";
         d.facts.hostNameFull = *bytes;
         return "";
       }},
      {"--hd-model", FactText(&DeviceFacts::diskModel)},
      {"--hd-capacity", FactText(&DeviceFacts::diskCapacity)},
      {"--hd-total", FactText(&DeviceFacts::diskTotal)},
      {"--hd-avail", FactText(&DeviceFacts::diskAvailable)},
      {"--user", Text(&DeviceBehaviour::userName)},
      {"--password", Text(&DeviceBehaviour::password)},
      {"--interface", Text(&DeviceBehaviour::interfaceName)},
      {"--silent",
       [](SimOptions&, DeviceBehaviour& d, const std::string& v) -> std::string {
         if (v != "discovery" && v != "config" && v != "all") {
           return "--silent wants discovery, config or all";
         }
         d.silentDiscovery = d.silentDiscovery || v != "config";
         d.silentConfig = d.silentConfig || v != "discovery";
         return "";
       }},
      {"--delay",
       [](SimOptions& o, DeviceBehaviour& d, const std::string& v) -> std::string {
         const std::string error = Count(&DeviceBehaviour::discoveryDelayMs, 600000)(o, d, v);
         d.configDelayMs = d.discoveryDelayMs;
         return error;
       }},
      {"--discovery-delay", Count(&DeviceBehaviour::discoveryDelayMs, 600000)},
      {"--config-delay", Count(&DeviceBehaviour::configDelayMs, 600000)},
      {"--discovery-raw", RawText(&DeviceBehaviour::discoveryRaw)},
      {"--config-raw", RawText(&DeviceBehaviour::configRaw)},
      {"--junk", Count(&DeviceBehaviour::junkCount, 1000)},
      {"--repeat", Count(&DeviceBehaviour::repeat, 1000)},
      {"--reply-to",
       [](SimOptions&, DeviceBehaviour& d, const std::string& v) -> std::string {
         if (v == "broadcast") {
           d.replyTarget = ReplyTarget::kBroadcast;
         } else if (v == "sender") {
           d.replyTarget = ReplyTarget::kSender;
         } else {
           in_addr addr{};
           if (inet_pton(AF_INET, v.c_str(), &addr) != 1) {
             return "--reply-to wants broadcast, sender or an IPv4 address";
           }
           d.replyTarget = ReplyTarget::kAddress;
           d.replyAddress = v;
         }
         return "";
       }},
  };
  return kOptions;
}

bool IsGlobal(const std::string& name) {
  return name == "--log" || name == "--lifetime" || name == "--allow-root-netns" ||
         name == "--help" || name == "-h" || name == "--device";
}

}  // namespace

ParseResult ParseOptions(const std::vector<std::string>& args) {
  ParseResult result;
  SimOptions& options = result.options;
  DeviceBehaviour scratch;  // target of global options, which ignore it
  auto current = [&]() -> DeviceBehaviour& {
    if (options.devices.empty()) options.devices.emplace_back();
    return options.devices.back();
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (const std::size_t eq = name.find('=');
        name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    if (name == "--help" || name == "-h") {
      options.help = true;
    } else if (name == "--allow-root-netns") {
      options.allowRootNetns = true;
    } else if (name == "--device") {
      options.devices.emplace_back();
    } else if (name == "--no-disk") {
      current().facts.hasDisk = false;
    } else if (name == "--apply") {
      current().apply = true;
    } else if (name == "--lose-config-reply") {
      current().loseConfigReply = true;
    } else if (const auto it = ValueOptions().find(name); it != ValueOptions().end()) {
      if (!inlineValue && i + 1 == args.size()) {
        result.error = name + " needs a value";
        return result;
      }
      const std::string value = inlineValue ? *inlineValue : args[++i];
      DeviceBehaviour& target = IsGlobal(name) ? scratch : current();
      result.error = it->second(options, target, value);
      if (!result.error.empty()) return result;
    } else {
      result.error = "unknown option \"" + args[i] + "\" (see --help)";
      return result;
    }
  }
  if (options.devices.empty()) options.devices.emplace_back();
  return result;
}

const char* UsageText() {
  return R"(Usage: orvane-devsim [GLOBAL OPTIONS] [DEVICE OPTIONS] [--device DEVICE OPTIONS]...

Behaves as one or more Orvane network disks: listens on UDP port 12311 on all
addresses, answers "0C01S" with a "0C01R" discovery reply and a "0C02S" meant
for a device's identity with a "0C02R" configuration reply, always sent to UDP
port 12310. Runs only inside a network namespace other than the machine's own
(use scripts/lab.sh); in the machine's namespace it stops with exit status 2.

Global options:
  --log FILE            append every received and sent datagram to FILE, one line
                        each, byte-exact as hex (default: standard error)
  --lifetime SECONDS    stop after this many seconds (default 300)
  --device              start the options of another device (options before the
                        first --device belong to the first device)
  --allow-root-netns    run even in the machine's own network namespace, where
                        the replies go out on the real LAN (never in tests)
  --help                show this text

Device options (texts accept the escapes \xHH \\ \n \r \t \0):
  --id TEXT             identity, exactly 17 bytes (default 00:0A:1B:2C:3D:4E)
  --ip ADDR             reported address (default: the namespace's first address)
  --netmask MASK        reported mask (default: that address's mask)
  --gateway ADDR        reported gateway (default: the namespace's default route)
  --host NAME           host name (default FILER1)
  --workgroup NAME      workgroup (default WORKGROUP)
  --full-host NAME      full host name (default: the host name)
  --hd-model TEXT       disk model (default DISK-80G)
  --hd-capacity TEXT    disk capacity in sectors (default 156301488)
  --hd-total TEXT       usable kilobytes (default 76900000)
  --hd-avail TEXT       free kilobytes (default 70000000)
  --no-disk             end the discovery reply after HOSTNAME_FULL
  --user TEXT           management user name (default vexil)
  --password TEXT       management password (default vexil)
  --apply               on an accepted 0C02S really move to the new address:
                        ip addr flush/add on the interface, default route
                        replaced; status "1" if that fails
  --interface NAME      interface for --apply (default: the one holding --ip)
  --silent WHAT         discovery, config or all: ignore those requests
  --delay MS            wait before every reply
  --discovery-delay MS  wait before discovery replies only
  --config-delay MS     wait before configuration replies only
  --discovery-raw TEXT  send TEXT instead of the composed 0C01R
  --config-raw TEXT     send TEXT instead of the composed 0C02R (the request is
                        still checked and applied as usual)
  --lose-config-reply   act on a 0C02S as usual (check, --apply, new facts) but
                        send no reply at all; the log says LOST instead of SEND
  --junk N              send N junk datagrams ahead of each reply
  --repeat N            send each reply N times (default 1)
  --reply-to WHERE      broadcast (255.255.255.255, the default), sender (the
                        request's source address) or an IPv4 address

Configuration requests: "0C02S", the 17-byte identity, then
"address;mask;gateway;host;workgroup;fullhost;user;password". The first six
fields end at the first six ';'. The rest is "user;password" and is accepted
when it equals the configured user, ';' and password byte for byte, so either
may contain ';'. Wrong credentials, fewer fields or a failed --apply answer
status "1"; an accepted request answers "2" and the device reports the new
address, mask, gateway and names from then on. A request for another identity
is ignored.

Exit status: 0 after SIGTERM, SIGINT or the lifetime; 1 bad options;
2 refused to run in the machine's own network namespace; 3 socket error.
)";
}

}  // namespace orvane::devsim

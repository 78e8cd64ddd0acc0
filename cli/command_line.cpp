#include "cli/command_line.h"

#include <charconv>
#include <map>

#include "hostnet/ipv4_text.h"

namespace orvane {

namespace {

// Which options each command takes.
enum Option : unsigned {
  kJson = 1u << 0,
  kWait = 1u << 1,
  kAddress = 1u << 2,
  kUser = 1u << 3,
  kPasswordStdin = 1u << 4,
  kYes = 1u << 5,
  kOpen = 1u << 6,
  kNoShortcuts = 1u << 7,
};

struct CommandShape {
  Command command;
  unsigned options;
  bool takesDevice;
};

const std::map<std::string, CommandShape, std::less<>>& Commands() {
  static const std::map<std::string, CommandShape, std::less<>> kCommands = {
      {"list", {Command::List, kJson | kWait, false}},
      {"configure",
       {Command::Configure, kWait | kAddress | kUser | kPasswordStdin | kYes | kOpen | kNoShortcuts,
        true}},
      {"shortcuts", {Command::Shortcuts, kWait | kOpen, true}},
      {"check", {Command::Check, kJson | kWait, false}},
  };
  return kCommands;
}

const std::map<std::string, Option, std::less<>>& Options() {
  static const std::map<std::string, Option, std::less<>> kOptions = {
      {"--json", kJson},
      {"--wait", kWait},
      {"--address", kAddress},
      {"--user", kUser},
      {"--password-stdin", kPasswordStdin},
      {"--yes", kYes},
      {"--open", kOpen},
      {"--no-shortcuts", kNoShortcuts},
  };
  return kOptions;
}

bool TakesValue(Option option) {
  return option == kWait || option == kAddress || option == kUser;
}

ParsedArguments Fail(std::string error) {
  return {std::nullopt, std::move(error)};
}

// Whole seconds from 1 to 600: long enough for a slow segment, short enough
// that a typing slip does not hang a script for hours.
std::optional<std::chrono::milliseconds> ParseWait(const std::string& text) {
  int seconds = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (ec != std::errc() || end != text.data() + text.size() || seconds < 1 || seconds > 600)
    return std::nullopt;
  return std::chrono::seconds(seconds);
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  if (args.empty()) return Fail("no command given");
  Invocation invocation;
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") return {invocation, ""};
  const auto shape = Commands().find(args[0]);
  if (shape == Commands().end()) return Fail("unknown command '" + args[0] + "'");
  invocation.command = shape->second.command;

  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return {Invocation{}, ""};
    if (arg == "--password" || arg.starts_with("--password=")) {
      return Fail(
          "a password is never taken on the command line, where other users can read it: "
          "give --password-stdin, or type it when asked");
    }
    if (!arg.starts_with("-")) {
      if (!shape->second.takesDevice) return Fail("'" + args[0] + "' takes no device");
      if (!invocation.device.empty()) return Fail("more than one device given");
      invocation.device = arg;
      continue;
    }
    const auto option = Options().find(arg);
    if (option == Options().end()) return Fail("unknown option '" + arg + "'");
    if ((shape->second.options & option->second) == 0)
      return Fail("'" + args[0] + "' takes no " + arg);
    std::string value;
    if (TakesValue(option->second)) {
      if (i + 1 >= args.size()) return Fail(arg + " needs a value");
      value = args[++i];
    }
    switch (option->second) {
      case kJson:
        invocation.json = true;
        break;
      case kWait: {
        const auto wait = ParseWait(value);
        if (!wait) return Fail("--wait takes whole seconds from 1 to 600, not '" + value + "'");
        invocation.wait = *wait;
        break;
      }
      case kAddress:
        if (value == "auto") {
          invocation.address.reset();
        } else if (const auto parsed = ParseDottedQuad(value);
                   !parsed || (*parsed & 0xFF) == 0 || (*parsed & 0xFF) == 255) {
          return Fail("--address takes auto or an address A.B.C.D with D from 1 to 254, not '" +
                      value + "'");
        } else {
          invocation.address = value;
        }
        break;
      case kUser:
        if (value.empty()) return Fail("--user needs a name");
        invocation.user = value;
        break;
      case kPasswordStdin:
        invocation.passwordStdin = true;
        break;
      case kYes:
        invocation.yes = true;
        break;
      case kOpen:
        invocation.open = true;
        break;
      case kNoShortcuts:
        invocation.noShortcuts = true;
        break;
    }
  }
  if (shape->second.takesDevice && invocation.device.empty())
    return Fail("'" + args[0] + "' needs a device: its identity, host name or address");
  return {invocation, ""};
}

std::string HelpText() {
  return R"(Usage: orvane COMMAND [OPTIONS]

Finds Orvane network disks on this PC's network and sets them up, as the
Orvane Setup wizard does, without a window.

Commands:
  list [--json] [--wait SECONDS]
      Broadcasts the discovery request, waits (3 s unless --wait says otherwise)
      and prints one line per device: number, whether it answers a ping, host
      name, address, disk model, capacity, total and used share. --json prints
      every field of each reply instead, and the adapter each reply came in
      on. Each text a device sent is given twice: as text, a byte that is not
      UTF-8 shown as U+FFFD ("hostName"), and as its exact bytes in hex in the
      field of that name with Hex after it ("hostNameHex").
  configure DEVICE [--address A.B.C.D | --address auto] [--user NAME]
            [--password-stdin] [--yes] [--open] [--no-shortcuts] [--wait SECONDS]
      Gives DEVICE (its identity, host name or current address) an address in
      this PC's network, with this PC's mask and gateway, if it does not answer
      a ping; then writes the two desktop shortcuts. The address is drawn and
      proven free as the wizard does, or the one given (it must share its first
      three parts with this PC's address, and be neither this PC's own, its
      gateway, nor its network's network or broadcast address). The device's
      answer is awaited for 30 s; a device found at its new address meanwhile
      has taken it, though its answer was lost. The password is read from the
      first line of standard input with --password-stdin, else asked for on the
      terminal without echo; the user name is asked for when --user is not
      given. Before the request is sent the change is shown and must be
      confirmed; --yes confirms it. On a PC without a desktop folder (a
      server, a login over SSH) no shortcuts are made, standard error says so,
      and the exit code is the device's; --no-shortcuts makes none on purpose.
  shortcuts DEVICE [--open] [--wait SECONDS]
      Writes the two desktop shortcuts for a device that answers a ping.
  check [--json] [--wait SECONDS]
      Scans as list does and prints what was checked: the adapters the request
      went out on, whether port 12310 could be bound, what arrived, and when
      nothing answered the likely causes. --json prints the same as JSON.

  --open    opens the shortcuts' targets (the web page and the shared folders)
  --help    this text

Exit codes:
  0  done
  1  the device refused its configuration, or the shortcuts could not be made
     (for configure, a PC without a desktop folder is no failure)
  2  usage: bad arguments, or a question that was not answered yes
  3  nothing found: no device, or none that matches DEVICE
  4  time-out: no answer to the configuration request within 30 s
  5  this PC's network: no usable address, no free address, port 12310 taken,
     the request could not be sent, or pings cannot be sent
  6  the work was done, but its result could not be written to standard
     output (closed, full, or a pipe whose reader has gone)

Messages and progress go to standard error, results to standard output.
)";
}

}  // namespace orvane

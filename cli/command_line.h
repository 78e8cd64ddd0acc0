#pragma once
// What `orvane` was asked to do, read from its arguments, and the exit codes
// it answers with.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The exit codes a script can act on; --help lists them.
enum class ExitCode : int {
  Done = 0,
  DeviceFailure = 1,  // the device refused, or the shortcuts could not be made
  Usage = 2,          // bad arguments, or a question not answered yes
  NothingFound = 3,   // no device, or none that matches
  TimedOut = 4,       // the device did not answer the configuration request
  LocalNetwork = 5,   // this PC's network: no address, no free one, no socket, no ping
  OutputFailed = 6,   // done, but standard output could not be written
};

enum class Command { Help, List, Configure, Shortcuts, Check };

struct Invocation {
  Command command = Command::Help;
  bool json = false;                     // list, check
  std::chrono::milliseconds wait{3000};  // list, configure, shortcuts: the scan window
  std::string device;                    // configure, shortcuts: identity, host name or address
  std::optional<std::string> address;    // configure: a fixed address; nothing for "auto"
  std::optional<std::string> user;       // configure
  bool passwordStdin = false;            // configure
  bool yes = false;                      // configure
  bool open = false;                     // configure, shortcuts
  bool noShortcuts = false;              // configure
};

struct ParsedArguments {
  std::optional<Invocation> invocation;
  std::string error;  // when there is no invocation: what is wrong, in plain words
};

// Reads the arguments after the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

// The text of --help: commands, options and exit codes.
std::string HelpText();

}  // namespace orvane

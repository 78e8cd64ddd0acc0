#pragma once
// `orvane`: reads its arguments, wires this PC's services to a scan (`list`,
// `check`) or a setup run (`configure`, `shortcuts`) and drives it on its own
// loop until it comes to rest.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/terminal.h"
#include "device/setup_run.h"

namespace orvane {

// What this PC did wrong during a run, seen at the services rather than read
// from the messages that tell the user.
struct LocalTrouble {
  bool portRefused = false;      // UDP port 12310 could not be bound
  bool scanNotSent = false;      // no adapter, or the scan's request left on none
  bool sendFailed = false;       // the last request could not be sent
  bool couldNotProbe = false;    // no echo request could be sent
  bool shortcutsFailed = false;  // the shortcuts or their opening failed
};

// The exit code for a run that came to rest with `outcome`. `decision` is the
// front end's own, where it ended the run (no match, no yes).
ExitCode ExitCodeFor(RunOutcome outcome, const LocalTrouble& trouble,
                     std::optional<ExitCode> decision);

// The whole program after its name; returns the exit code.
int RunProgram(const std::vector<std::string>& args, Terminal& terminal, std::ostream& out,
               std::ostream& err);

}  // namespace orvane

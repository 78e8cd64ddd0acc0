// orvane-devsim: simulated Orvane devices for the namespaced lab.

#include <cstdio>
#include <string>
#include <vector>

#include "tools/devsim/devsim_host.h"
#include "tools/devsim/devsim_log.h"
#include "tools/devsim/devsim_options.h"
#include "tools/devsim/devsim_sim.h"

int main(int argc, char** argv) {
  using namespace orvane::devsim;
  const std::vector<std::string> args(argv + 1, argv + argc);
  ParseResult parsed = ParseOptions(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "orvane-devsim: %s\n", parsed.error.c_str());
    return 1;
  }
  if (parsed.options.help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  // The simulator answers broadcasts by broadcasting. On the machine's own
  // network that would reach real hosts, so it only runs in a namespace of
  // its own (scripts/lab.sh makes them).
  if (!parsed.options.allowRootNetns && InMachineNetNamespace()) {
    std::fputs(
        "orvane-devsim: refusing to run in the machine's own network namespace.\n"
        "Start it inside a lab namespace, e.g. through scripts/lab.sh.\n",
        stderr);
    return 2;
  }
  DatagramLog log;
  if (!log.Open(parsed.options.logPath)) {
    std::fprintf(stderr, "orvane-devsim: cannot open log file %s\n",
                 parsed.options.logPath.c_str());
    return 1;
  }
  Simulator simulator(std::move(parsed.options), log);
  simulator.CompleteFacts();
  return simulator.Run();
}

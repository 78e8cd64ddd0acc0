// orvane: finds and sets up Orvane network disks from a command line, on the
// same setup run as the wizard.

#include <iostream>

#include "cli/program.h"
#include "cli/standard_streams.h"

int main(int argc, char* argv[]) {
  // First, before any socket is opened.
  if (orvane::PrepareStandardStreams()) std::cout.setstate(std::ios::badbit);
  orvane::ConsoleTerminal terminal;
  return orvane::RunProgram(std::vector<std::string>(argv + 1, argv + argc), terminal, std::cout,
                            std::cerr);
}

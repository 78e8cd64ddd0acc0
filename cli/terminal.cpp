#include <iostream>

#include "cli/terminal.h"

namespace orvane {

std::optional<std::string> ConsoleTerminal::ReadLine() {
  std::string line;
  if (!std::getline(std::cin, line)) return std::nullopt;
  // A line typed or piped on Windows ends in CR LF.
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace orvane

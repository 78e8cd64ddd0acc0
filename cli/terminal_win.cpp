#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "cli/terminal.h"

namespace orvane {

bool ConsoleTerminal::Interactive() const {
  return _isatty(_fileno(stdin)) != 0;
}

std::optional<std::string> ConsoleTerminal::ReadSecret() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD saved = 0;
  const bool console = GetConsoleMode(input, &saved) != 0;
  if (console) SetConsoleMode(input, saved & ~DWORD(ENABLE_ECHO_INPUT));
  std::optional<std::string> line = ReadLine();
  if (console) {
    SetConsoleMode(input, saved);
    std::cerr << '\n';  // the line end the user typed was not echoed
  }
  return line;
}

}  // namespace orvane

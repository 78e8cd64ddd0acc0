#include <termios.h>
#include <unistd.h>

#include <iostream>

#include "cli/terminal.h"

namespace orvane {

bool ConsoleTerminal::Interactive() const {
  return isatty(STDIN_FILENO) == 1;
}

std::optional<std::string> ConsoleTerminal::ReadSecret() {
  termios saved{};
  const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    quiet.c_lflag |= ECHONL;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::optional<std::string> line = ReadLine();
  if (terminal) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  return line;
}

}  // namespace orvane

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "cli/terminal.h"

namespace orvane {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
termios gSaved{};
struct sigaction gPrevious[sizeof kStopSignals / sizeof kStopSignals[0]];

// Only async-signal-safe calls: the echo comes back, then the signal does
// what it would have done.
void RestoreAndStop(int signal) {
  ::tcsetattr(STDIN_FILENO, TCSANOW, &gSaved);
  struct sigaction defaults {};
  defaults.sa_handler = SIG_DFL;
  ::sigaction(signal, &defaults, nullptr);
  ::raise(signal);
}

}  // namespace

bool ConsoleTerminal::Interactive() const {
  return isatty(STDIN_FILENO) == 1;
}

bool ReadInputByte(char& byte) {
  for (;;) {
    const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
    if (got == 1) return true;
    if (got < 0 && errno == EINTR) continue;
    return false;
  }
}

HiddenInput::HiddenInput() {
  if (::tcgetattr(STDIN_FILENO, &gSaved) != 0) return;
  struct sigaction restore {};
  restore.sa_handler = RestoreAndStop;
  sigemptyset(&restore.sa_mask);
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
    ::sigaction(kStopSignals[i], &restore, &gPrevious[i]);
  termios quiet = gSaved;
  quiet.c_lflag &= ~tcflag_t(ECHO);
  quiet.c_lflag |= ECHONL;
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  active_ = true;
}

HiddenInput::~HiddenInput() {
  if (!active_) return;
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &gSaved);
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
    ::sigaction(kStopSignals[i], &gPrevious[i], nullptr);
}

}  // namespace orvane

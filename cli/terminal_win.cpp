#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "cli/terminal.h"

namespace orvane {

namespace {

DWORD gSavedMode = 0;

// Runs on a thread of its own when Ctrl-C or Ctrl-Break is pressed: the echo
// comes back, and the default handling (the end of the program) follows.
BOOL WINAPI RestoreEcho(DWORD) {
  SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), gSavedMode);
  return FALSE;
}

}  // namespace

bool ConsoleTerminal::Interactive() const {
  return _isatty(_fileno(stdin)) != 0;
}

bool ReadInputByte(char& byte) {
  DWORD got = 0;
  return ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &got, nullptr) && got == 1;
}

HiddenInput::HiddenInput() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (!GetConsoleMode(input, &gSavedMode)) return;
  SetConsoleCtrlHandler(RestoreEcho, TRUE);
  SetConsoleMode(input, gSavedMode & ~DWORD(ENABLE_ECHO_INPUT));
  active_ = true;
}

HiddenInput::~HiddenInput() {
  if (!active_) return;
  SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), gSavedMode);
  SetConsoleCtrlHandler(RestoreEcho, FALSE);
  std::cerr << '\n';  // the line end the user typed was not echoed
}

}  // namespace orvane

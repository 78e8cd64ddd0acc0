#include <windows.h>

#include <cstdlib>

#include "cli/standard_streams.h"

namespace orvane {

namespace {
UINT gConsoleOutputCodePage = 0;
}  // namespace

bool PrepareStandardStreams() {
  // Windows has no SIGPIPE (a write to a closed pipe fails), and its sockets
  // are handles apart from the C runtime's descriptors 0 to 2, so none can
  // take their place; a write to a standard output that was never opened
  // fails by itself.
  //
  // What is printed is UTF-8. A console shows it right only in code page
  // 65001, so a console gets that for the run and its own back at the end;
  // output to a file or a pipe is UTF-8 as it stands.
  DWORD mode = 0;
  if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
      GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode)) {
    gConsoleOutputCodePage = GetConsoleOutputCP();
    if (gConsoleOutputCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
      std::atexit([] { SetConsoleOutputCP(gConsoleOutputCodePage); });
  }
  return false;
}

}  // namespace orvane

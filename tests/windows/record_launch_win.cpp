// A stand-in for a program of Windows itself (explorer.exe in the lab, netsh.exe
// in the installer check): appends the command line it was started with
// (UTF-8, one a line) to C:\orvane-launches.txt and ends, so the test sees
// what would have been opened or changed without anything happening.

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  const wchar_t* commandLine = GetCommandLineW();
  const int n = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
  std::string line(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line.data(), n, nullptr, nullptr);
  line += " (show " + std::to_string(show) + ")\n";
  const HANDLE log =
      CreateFileW(L"C:\\orvane-launches.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(log);
  return 0;
}

// A stand-in for a program of Windows itself (explorer.exe in the lab, netsh.exe
// in the installer check): appends the command line it was started with
// (UTF-8, one a line) and the kinds of its standard input, output and error
// (GetFileType: 2 for a character device such as NUL, 1 for a file, 3 for a
// pipe) to C:\orvane-launches.txt and ends, so the test sees what would have
// been opened or changed, and with what, without anything happening.

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  const wchar_t* commandLine = GetCommandLineW();
  const int n = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
  std::string line(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line.data(), n, nullptr, nullptr);
  line += " (show " + std::to_string(show) + ", std";
  for (const DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
    line += " " + std::to_string(GetFileType(GetStdHandle(stream)));
  line += ")\n";
  const HANDLE log =
      CreateFileW(L"C:\\orvane-launches.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(log);
  return 0;
}

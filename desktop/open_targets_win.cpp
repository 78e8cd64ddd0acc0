// Opens the device's shared folders and web page with Explorer, which hands a
// URL to the default browser: "explorer \\<address>" first, then
// "explorer http://<address>", each in a normal window (SW_SHOWNORMAL), and
// waits for neither. The address is used as received, untrimmed.
//
// CreateProcessW starts explorer.exe from the Windows folder by full path, so no
// "explorer.exe" planted in the current or the program's folder is found first,
// and no cmd.exe is involved. Explorer still parses its own command line, where
// blanks, quotes and commas separate arguments and options, and would take a
// path or a name for a target as well: only a dotted IPv4 address (blanks
// around it allowed, Explorer drops them) is passed on, anything else is
// refused, since a device address is nothing else.

#include <windows.h>

#include <string>
#include <vector>

#include "desktop/shortcuts.h"
#include "text/utf_text.h"

namespace orvane {

namespace {

// Four parts of one to three digits, each at most 255, separated by dots.
bool IsDottedAddress(std::string_view address) {
  const std::string_view inner = TrimBlanks(address);
  int parts = 0;
  std::size_t at = 0;
  while (parts < 4) {
    std::size_t digits = 0;
    int value = 0;
    while (at < inner.size() && inner[at] >= '0' && inner[at] <= '9' && digits < 4) {
      value = value * 10 + (inner[at++] - '0');
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    if (++parts < 4) {
      if (at >= inner.size() || inner[at] != '.') return false;
      ++at;
    }
  }
  return at == inner.size();
}

std::wstring WindowsFolder() {
  wchar_t buffer[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(buffer, length);
}

std::string ErrorText(DWORD error) {
  return "Windows error " + std::to_string(error);
}

}  // namespace

DesktopResult OpenShortcutTargets(std::string_view address) {
  if (!IsDottedAddress(address)) {
    return {false,
            "The shortcuts could not be opened because the device address is not an IPv4 "
            "address."};
  }
  const std::wstring folder = WindowsFolder();
  if (folder.empty()) {
    return {false, "The shortcuts could not be opened because the Windows folder was not found."};
  }
  const std::wstring explorer = folder + L"\\explorer.exe";
  const std::u16string wide = Utf8ToUtf16(address);
  const std::wstring wideAddress(wide.begin(), wide.end());
  const struct {
    std::wstring commandLine;
    const char* what;
  } targets[] = {{L"explorer \\\\" + wideAddress, "shared folders"},
                 {L"explorer http://" + wideAddress, "web management page"}};
  // Explorer's standard input, output and error are the null device, and it
  // inherits that one handle and nothing else (our sockets are inheritable
  // by default): a caller's pipe or console is never held open by it.
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  const HANDLE null =
      CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inheritable, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (null == INVALID_HANDLE_VALUE) {
    return {false,
            "The shortcuts could not be opened because the null device could not be "
            "opened (" +
                ErrorText(GetLastError()) + ")."};
  }
  SIZE_T listSize = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
  std::vector<unsigned char> listBuffer(listSize);
  const auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listBuffer.data());
  HANDLE inherited = null;
  if (!InitializeProcThreadAttributeList(list, 1, 0, &listSize) ||
      !UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &inherited,
                                 sizeof inherited, nullptr, nullptr)) {
    const DWORD error = GetLastError();
    CloseHandle(null);
    return {false,
            "The shortcuts could not be opened because Explorer's start could not be "
            "prepared (" +
                ErrorText(error) + ")."};
  }
  DesktopResult result;
  for (const auto& target : targets) {
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.StartupInfo.wShowWindow = SW_SHOWNORMAL;
    startup.StartupInfo.hStdInput = startup.StartupInfo.hStdOutput = startup.StartupInfo.hStdError =
        null;
    startup.lpAttributeList = list;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = target.commandLine;  // CreateProcessW may write to it
    if (!CreateProcessW(explorer.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                        EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr, &startup.StartupInfo,
                        &process)) {
      result = {false, std::string("The device's ") + target.what +
                           " could not be opened because Explorer could not be started (" +
                           ErrorText(GetLastError()) + ")."};
      break;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  DeleteProcThreadAttributeList(list);
  CloseHandle(null);
  return result;
  return {};
}

}  // namespace orvane

// orvane-win-wait-window <title> <milliseconds> [close]
// Waits until a visible top-level window whose title contains <title> (UTF-8)
// exists; exits 0 then (after asking it to close, with "close"), 1 when the
// time runs out. With "-" as the title it prints the titles of the visible
// top-level windows, one a line.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring Wide(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
  return out;
}

struct Search {
  std::wstring title;
  bool list = false;
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  if (search.list) {
    if (text[0] != L'\0') std::printf("%ls\n", text);
  } else if (std::wstring(text).find(search.title) != std::wstring::npos) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s <title> <milliseconds> [close]\n", argv[0]);
    return 2;
  }
  Search search;
  search.list = std::string(argv[1]) == "-";
  search.title = Wide(argv[1]);
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(std::atol(argv[2]));
  do {
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.list) return 0;
    if (search.found) {
      if (argc == 4) PostMessageW(search.found, WM_CLOSE, 0, 0);
      return 0;
    }
    Sleep(10);
  } while (static_cast<LONG>(deadline - GetTickCount()) > 0);
  return 1;
}

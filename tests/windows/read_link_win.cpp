// orvane-win-read-link <file.lnk>
// Loads a shortcut with the shell's own link object (IShellLinkW +
// IPersistFile::Load) and prints what the shell reads from it, one field a
// line: how Windows (or Wine) sees a file our Linux writer made.

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Wide(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <file.lnk>\n", argv[0]);
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))) ||
      FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) ||
      FAILED(file->Load(Wide(argv[1]).c_str(), STGM_READ))) {
    std::fprintf(stderr, "%s: the shell could not load it\n", argv[1]);
    return 1;
  }
  wchar_t text[1024];
  int index = 0, show = 0;
  WORD hotKey = 0;
  text[0] = 0;
  link->GetPath(text, 1024, nullptr, SLGP_RAWPATH);
  std::printf("path (raw): %ls\n", text);
  text[0] = 0;
  link->GetPath(text, 1024, nullptr, 0);
  std::printf("path: %ls\n", text);
  text[0] = 0;
  link->GetDescription(text, 1024);
  std::printf("description: %ls\n", text);
  text[0] = 0;
  link->GetWorkingDirectory(text, 1024);
  std::printf("working folder: %ls\n", text);
  text[0] = 0;
  link->GetIconLocation(text, 1024, &index);
  std::printf("icon: %ls, %d\n", text, index);
  link->GetShowCmd(&show);
  link->GetHotkey(&hotKey);
  std::printf("show: %d\nhot key: %u\n", show, hotKey);
  PIDLIST_ABSOLUTE items = nullptr;
  if (SUCCEEDED(link->GetIDList(&items)) && items != nullptr) {
    text[0] = 0;
    SHGetPathFromIDListW(items, text);
    std::printf("item list: present (%ls)\n", text);
    CoTaskMemFree(items);
  } else {
    std::printf("item list: none\n");
  }
  file->Release();
  link->Release();
  CoUninitialize();
  return 0;
}

// The shortcut through the shell's link object, property by property in the
// order WScript's shortcut object sets them: TargetPath (SetPath), WindowStyle
// (SetShowCmd), Hotkey, IconLocation, Description, WorkingDirectory; then
// IPersistFile::Save, which writes (or overwrites) the file.

// windows.h first: the shell headers rely on its macros.
#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "desktop/save_shell_link.h"
#include "text/utf_text.h"

namespace orvane {

namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  return std::wstring(text.begin(), text.end());
}

std::string Reason(const char* step, HRESULT result) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
  return std::string("the shell's link object failed to ") + step + " (" + code + ")";
}

// Releases a COM interface when it goes out of scope.
template <typename T>
struct Held {
  T* p = nullptr;
  ~Held() {
    if (p) p->Release();
  }
};

}  // namespace

std::string SaveShellLink(const std::filesystem::path& path, const ShellLink& link) {
  // The calling thread may have COM already (Qt's GUI thread has OLE): then
  // this is S_FALSE and balanced all the same, or RPC_E_CHANGED_MODE when it
  // runs multithreaded, which the link object accepts too and which must not
  // be balanced.
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::string reason;
  {
    Held<IShellLinkW> shellLink;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&shellLink.p));
    if (FAILED(hr)) {
      reason = Reason("start", hr);
    } else {
      const struct {
        const char* what;
        HRESULT result;
      } steps[] = {
          {"take the target", shellLink.p->SetPath(Wide(link.target).c_str())},
          {"take the window style", shellLink.p->SetShowCmd(static_cast<int>(link.showCommand))},
          {"take the hot key", shellLink.p->SetHotkey(link.hotKey)},
          {"take the icon",
           shellLink.p->SetIconLocation(Wide(link.iconPath).c_str(), link.iconIndex)},
          {"take the description", shellLink.p->SetDescription(Wide(link.description).c_str())},
          {"take the working folder",
           shellLink.p->SetWorkingDirectory(Wide(link.workingDirectory).c_str())},
      };
      for (const auto& step : steps) {
        if (FAILED(step.result)) {
          reason = Reason(step.what, step.result);
          break;
        }
      }
      Held<IPersistFile> file;
      if (reason.empty()) {
        hr = shellLink.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p));
        if (FAILED(hr)) reason = Reason("open the file", hr);
      }
      if (reason.empty()) {
        hr = file.p->Save(path.c_str(), TRUE);
        if (FAILED(hr)) reason = Reason("save the file", hr);
      }
    }
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return reason;
}

}  // namespace orvane

// The desktop folder on Windows is the known folder FOLDERID_Desktop, which is
// what the shell's SpecialFolders("Desktop") reports for the current user
// (redirected folders included).

// windows.h first: the other two headers rely on its macros.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "desktop/shortcuts.h"

namespace orvane {

std::filesystem::path DesktopFolder() {
  PWSTR path = nullptr;
  std::filesystem::path result;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Desktop, KF_FLAG_DEFAULT, nullptr, &path))) {
    result = path;
  }
  CoTaskMemFree(path);
  return result;
}

}  // namespace orvane

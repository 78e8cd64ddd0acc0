#pragma once

// The two desktop shortcuts a finished setup leaves behind, and opening their
// targets. Both procedures keep no state and show nothing: a failure comes back
// as a sentence the caller can put in a message box.

#include <filesystem>
#include <string>
#include <string_view>

#include "text/code_page.h"

namespace orvane {

struct DesktopResult {
  bool ok = true;
  std::string error;  // when !ok: a clear English sentence for the user
  // When !ok: there is no desktop folder at all (a server, a login over SSH),
  // which a caller without a desktop may take for "no shortcuts wanted here".
  bool noDesktop = false;
  // When !ok: nothing was asked of the desktop, since the user wanted no
  // shortcuts; error says so.
  bool skipped = false;
};

// The current user's desktop folder as the platform defines it; empty when it
// cannot be determined. desktop_folder_linux.cpp / desktop_folder_win.cpp.
std::filesystem::path DesktopFolder();

// Writes "Setup My Orvane - <host>.lnk" (the web management page) and then
// "Access My Orvane - <host>.lnk" (the shared folders) to the desktop folder,
// replacing files of the same names. The second is written only when the first
// was. The host name is decoded as the device list shows it
// (DeviceTextToUtf8 with `pc`) and the whole file name judged by
// FileNameProblem.
DesktopResult CreateShortcuts(std::string_view address, std::string_view hostName,
                              const PcCodePage& pc);

// The same, into the given folder.
DesktopResult CreateShortcutsIn(const std::filesystem::path& desktop, std::string_view address,
                                std::string_view hostName, const PcCodePage& pc);

// The text without the blanks (spaces) at its ends; tabs and other white space
// stay. The shortcuts' targets and the launchers trim the device's address with
// it, since a blank cannot stand in the host part of a URL or a UNC path.
std::string_view TrimBlanks(std::string_view text);

// Starts the shared folders, then the web page, each in a normal window,
// without waiting for either. open_targets_linux.cpp / open_targets_win.cpp.
DesktopResult OpenShortcutTargets(std::string_view address);

}  // namespace orvane

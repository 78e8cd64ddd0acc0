#pragma once

#include <filesystem>
#include <string>

#include "desktop/shell_link.h"

namespace orvane {

// Saves the link as a .lnk file at `path`, replacing a file of that name.
// Returns the empty string on success, otherwise the system's reason.
//  - Linux (save_shell_link_linux.cpp): our own writer (WriteShellLink),
//    through ReplaceFileWith.
//  - Windows (save_shell_link_win.cpp): the shell's own link object,
//    IShellLinkW with IPersistFile, which is what WScript.Shell's
//    CreateShortcut and Save use underneath, so the file is the one Windows
//    itself would write.
std::string SaveShellLink(const std::filesystem::path& path, const ShellLink& link);

}  // namespace orvane

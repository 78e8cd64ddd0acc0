#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace orvane {

// Puts `bytes` at `path`, replacing a file of that name. The bytes first go to
// a new file with a unique name in the same folder, created exclusively (it
// never opens an existing file or follows a symbolic link), which is then
// renamed over `path`. So the old file is replaced whole or not at all, and a
// symbolic link planted at `path` is itself replaced instead of being written
// through: nothing outside the folder is touched. Returns the empty string on
// success, otherwise the system's reason. replace_file_linux.cpp: Windows has the
// shell write its shortcuts (save_shell_link_win.cpp).
std::string ReplaceFileWith(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace orvane

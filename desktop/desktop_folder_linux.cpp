// The desktop folder on Linux is the XDG "desktop" user directory: the value of
// XDG_DESKTOP_DIR in $XDG_CONFIG_HOME/user-dirs.dirs (~/.config when unset),
// the file that xdg-user-dirs-update writes in the user's language, falling
// back to ~/Desktop when the file or the entry is missing.

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "desktop/shortcuts.h"

namespace orvane {

namespace {

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    return home;
  }
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return found->pw_dir;
  }
  return {};
}

// One line of user-dirs.dirs. The format allows exactly two forms,
// XDG_DESKTOP_DIR="$HOME/yyy" with yyy relative to home and shell-escaped, and
// XDG_DESKTOP_DIR="/yyy", absolute; any other line is not ours or not valid.
std::optional<std::filesystem::path> DesktopEntry(std::string_view line,
                                                  const std::filesystem::path& home) {
  const auto first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  line.remove_prefix(first);
  constexpr std::string_view kKey = "XDG_DESKTOP_DIR";
  if (line.substr(0, kKey.size()) != kKey) return std::nullopt;
  line.remove_prefix(kKey.size());
  line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
  if (line.empty() || line[0] != '=') return std::nullopt;
  line.remove_prefix(1);
  line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
  if (line.empty() || line[0] != '"') return std::nullopt;
  line.remove_prefix(1);

  bool relative = false;
  constexpr std::string_view kHome = "$HOME";
  if (line.substr(0, kHome.size()) == kHome &&
      (line.size() == kHome.size() || line[kHome.size()] == '/' || line[kHome.size()] == '"')) {
    relative = true;
    line.remove_prefix(kHome.size());
  } else if (line.empty() || line[0] != '/') {
    return std::nullopt;
  }
  std::string value;
  bool closed = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') {
      closed = true;
      break;
    }
    if (line[i] == '\\' && i + 1 < line.size()) ++i;  // shell escape: take the next byte as is
    value.push_back(line[i]);
  }
  if (!closed) return std::nullopt;
  if (!relative) return std::filesystem::path(value);
  // "$HOME" alone means the desktop is the home folder itself.
  while (!value.empty() && value.front() == '/') value.erase(value.begin());
  return value.empty() ? home : home / value;
}

}  // namespace

std::filesystem::path DesktopFolder() {
  const std::filesystem::path home = HomeFolder();
  if (home.empty()) return {};
  std::filesystem::path config = home / ".config";
  // XDG base directory rules: a relative XDG_CONFIG_HOME is ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
    config = xdg;
  }
  std::optional<std::filesystem::path> desktop;
  std::ifstream in(config / "user-dirs.dirs");
  std::string line;
  while (std::getline(in, line)) {
    if (auto entry = DesktopEntry(line, home)) desktop = std::move(entry);  // the last one counts
  }
  return desktop ? *desktop : home / "Desktop";
}

}  // namespace orvane

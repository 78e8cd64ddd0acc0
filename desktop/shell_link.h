#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// ShowCommand values of a shell link header: the window state the target's
// window opens in. 1 is a normal window; the shell treats unknown values as 1.
inline constexpr std::uint32_t kShowNormal = 1;
inline constexpr std::uint32_t kShowMinimizedNoActive = 7;

// One shortcut, the fields a user sees on its Properties sheet. Strings hold
// UTF-8 bytes; bytes that are not UTF-8 are stored as U+FFFD (utf_text.h).
struct ShellLink {
  std::string target;            // a URL ("http://host") or a UNC path ("\\host")
  std::string description;       // the Comment
  std::string workingDirectory;  // "Start in"
  std::string iconPath;          // the file that holds the icon, e.g. "SHELL32.dll"
  std::int32_t iconIndex = 0;    // the icon's index in that file
  std::uint32_t showCommand = kShowNormal;
  std::uint16_t hotKey = 0;  // low byte virtual key, high byte modifiers; 0: none

  bool operator==(const ShellLink&) const = default;
};

// The longest target the writer accepts, in UTF-16 units: the target is kept in
// a fixed block of MAX_PATH (260) characters that includes its terminator.
inline constexpr std::size_t kMaxShellLinkTarget = 259;

// Encodes the link in the Shell Link (.lnk) binary format. Returns an empty
// vector when it cannot be encoded: an empty target, a target longer than
// kMaxShellLinkTarget or another string longer than 65535 UTF-16 units.
std::vector<std::uint8_t> WriteShellLink(const ShellLink& link);

// The shell writes an icon reference as "path, index" (WScript's IconLocation,
// e.g. "SHELL32.dll, 15"); a link file stores the two apart. The index follows
// the last comma and blanks around either part are dropped; without a comma, or
// with something after it that is not a whole number, the index is 0.
struct IconLocation {
  std::string path;
  std::int32_t index = 0;
};
IconLocation ParseIconLocation(std::string_view text);

}  // namespace orvane

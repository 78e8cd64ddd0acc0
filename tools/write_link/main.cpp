// orvane-write-link: writes one shortcut the way this platform's build does
// (Linux: our own .lnk writer; Windows: the shell's link object), so the two
// files can be compared field by field (tests/windows/compare_lnk.sh).
//
//   orvane-write-link <out.lnk> <target> <description> <icon location> <working folder>
//
// The icon location is written as WScript takes it: "SHELL32.dll, 15".

#include <cstdio>
#include <filesystem>
#include <string>

#include "desktop/save_shell_link.h"
#include "desktop/shell_link.h"

int main(int argc, char* argv[]) {
  if (argc != 6) {
    std::fprintf(stderr,
                 "usage: %s <out.lnk> <target> <description> <icon location> <working folder>\n",
                 argv[0]);
    return 2;
  }
  orvane::ShellLink link;
  link.target = argv[2];
  link.description = argv[3];
  const orvane::IconLocation icon = orvane::ParseIconLocation(argv[4]);
  link.iconPath = icon.path;
  link.iconIndex = icon.index;
  link.workingDirectory = argv[5];
  const std::string out = argv[1];
  const std::string reason =
      orvane::SaveShellLink(std::filesystem::path(std::u8string(out.begin(), out.end())), link);
  if (!reason.empty()) {
    std::fprintf(stderr, "%s: %s\n", argv[1], reason.c_str());
    return 1;
  }
  return 0;
}

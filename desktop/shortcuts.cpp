#include "desktop/shortcuts.h"

#include <array>
#include <system_error>

#include "desktop/file_name.h"
#include "desktop/save_shell_link.h"
#include "desktop/shell_link.h"
#include "text/code_page.h"
#include "text/utf_text.h"

namespace orvane {

namespace {

constexpr std::string_view kSetupPrefix = "Setup My Orvane - ";
constexpr std::string_view kAccessPrefix = "Access My Orvane - ";
constexpr std::string_view kExtension = ".lnk";

struct ShortcutFile {
  std::string fileName;
  ShellLink link;
};

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The two shortcuts, web management first. The working directory is the
// desktop folder's own text. The file goes into that folder under the name
// below; on Windows that is the folder, one backslash and the name, on Linux
// the folder, one slash and the name (the platform's separator).
std::array<ShortcutFile, 2> Shortcuts(const std::filesystem::path& desktop,
                                      std::string_view address, std::string_view hostName,
                                      const PcCodePage& pc) {
  const std::string trimmed(TrimBlanks(address));
  const std::string folder = PathText(desktop);
  // The file is named by the host name as the device list shows it.
  const std::string host = DeviceTextToUtf8(hostName, pc);
  const std::string untrimmed(address);

  ShortcutFile setup;
  setup.fileName = std::string(kSetupPrefix) + host + std::string(kExtension);
  setup.link.target = "http://" + trimmed;
  setup.link.description = "IP=" + untrimmed + " , Manage your Orvane";
  const IconLocation setupIcon = ParseIconLocation("SHELL32.dll, 15");
  setup.link.iconPath = setupIcon.path;
  setup.link.iconIndex = setupIcon.index;

  ShortcutFile access;
  access.fileName = std::string(kAccessPrefix) + host + std::string(kExtension);
  access.link.target = "\\\\" + trimmed;
  access.link.description = "IP=" + untrimmed + " , Access your Orvane";
  const IconLocation accessIcon = ParseIconLocation("SHELL32.dll, 9");
  access.link.iconPath = accessIcon.path;
  access.link.iconIndex = accessIcon.index;

  for (ShortcutFile* file : {&setup, &access}) {
    file->link.showCommand = kShowNormal;
    file->link.hotKey = 0;
    file->link.workingDirectory = folder;
  }
  return {setup, access};
}

DesktopResult Failure(std::string sentence) {
  return DesktopResult{false, std::move(sentence)};
}

}  // namespace

DesktopResult CreateShortcutsIn(const std::filesystem::path& desktop, std::string_view address,
                                std::string_view hostName, const PcCodePage& pc) {
  std::error_code error;
  if (desktop.empty() || !std::filesystem::is_directory(desktop, error)) {
    DesktopResult failure =
        Failure("The desktop shortcuts were not created because the desktop folder \"" +
                PathText(desktop) + "\" does not exist.");
    // Something else standing at that name is a desktop gone wrong, not none.
    failure.noDesktop = desktop.empty() || !std::filesystem::exists(desktop, error);
    return failure;
  }
  const std::array<ShortcutFile, 2> files = Shortcuts(desktop, address, hostName, pc);
  // Both names are judged before either file is written.
  for (const ShortcutFile& file : files) {
    const std::string problem = FileNameProblem(file.fileName);
    if (!problem.empty()) {
      return Failure(
          "The desktop shortcuts were not created because the file name made from the device's "
          "host name " +
          problem + ".");
    }
  }
  for (const ShortcutFile& file : files) {
    // The format's limits hold for the shell's own writer too: a target it
    // cannot hold whole is refused on every platform, never cut short.
    if (WriteShellLink(file.link).empty()) {
      return Failure("The shortcut \"" + file.fileName +
                     "\" was not created because the device address is too long.");
    }
    const std::string reason = SaveShellLink(desktop / PathOf(file.fileName), file.link);
    if (!reason.empty()) {
      return Failure("The shortcut \"" + file.fileName +
                     "\" could not be written to the desktop: " + reason + ".");
    }
  }
  return {};
}

DesktopResult CreateShortcuts(std::string_view address, std::string_view hostName,
                              const PcCodePage& pc) {
  const std::filesystem::path desktop = DesktopFolder();
  if (desktop.empty()) {
    DesktopResult failure = Failure(
        "The desktop shortcuts were not created because the desktop folder could not be found.");
    failure.noDesktop = true;
    return failure;
  }
  return CreateShortcutsIn(desktop, address, hostName, pc);
}

}  // namespace orvane

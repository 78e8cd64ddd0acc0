#include "desktop/replace_file.h"
#include "desktop/save_shell_link.h"

namespace orvane {

std::string SaveShellLink(const std::filesystem::path& path, const ShellLink& link) {
  const std::vector<std::uint8_t> bytes = WriteShellLink(link);
  if (bytes.empty()) return "the link cannot be encoded";
  return ReplaceFileWith(path, bytes);
}

}  // namespace orvane

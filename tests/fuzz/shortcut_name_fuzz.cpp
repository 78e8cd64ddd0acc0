// A host name from the LAN becomes part of two file names on the desktop.
// Properties:
//  - it decodes to valid UTF-8, unchanged when it was valid UTF-8, and the
//    link strings made from it read back as the same text;
//  - a shortcut name that is accepted is one path component inside the
//    desktop folder, free of separators, and not "." or "..".

#include <filesystem>
#include <string>

#include "desktop/file_name.h"
#include "tests/fuzz/fuzz_check.h"
#include "text/code_page.h"
#include "text/utf_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane;
  const std::string_view host = fuzz::Bytes(data, size);
  // Big5 on Linux: its decoder has lead and trail bytes to get wrong.
  const std::string decoded = DeviceTextToUtf8(host, PcCodePage{kCodePageBig5, true});
  FUZZ_CHECK(IsValidUtf8(decoded));
  if (IsValidUtf8(host)) FUZZ_CHECK(decoded == host);
  FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(decoded)) == decoded);

  for (const std::string_view prefix : {"Setup My Orvane - ", "Access My Orvane - "}) {
    const std::string name = std::string(prefix) + decoded + ".lnk";
    if (!FileNameProblem(name).empty()) continue;
    FUZZ_CHECK(name.size() <= kMaxFileNameBytes);
    FUZZ_CHECK(name.find_first_of("/\\") == std::string::npos && name != "." && name != "..");
    const std::filesystem::path desktop = "/home/user/Desktop";
    const std::filesystem::path file =
        desktop / std::filesystem::path(std::u8string(name.begin(), name.end()));
    FUZZ_CHECK(file.parent_path() == desktop);
    FUZZ_CHECK(file.lexically_normal().parent_path() == desktop);
  }
  // The name alone, too: the rule must hold for any file name it accepts.
  if (FileNameProblem(host).empty()) {
    FUZZ_CHECK(host.find_first_of("/\\") == std::string_view::npos && host != "." && host != "..");
  }
  return 0;
}

#include "desktop/file_name.h"

#include <array>

#include "text/utf_text.h"

namespace orvane {

namespace {

bool IsControl(char32_t cp) {
  return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp <= 0x9F);
}

bool IsBidiControl(char32_t cp) {
  return cp == 0x200E || cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) ||
         (cp >= 0x2066 && cp <= 0x2069);
}

bool IsForbiddenOnWindows(char32_t cp) {
  constexpr std::u32string_view kForbidden = U"<>:\"/\\|?*";
  return kForbidden.find(cp) != std::u32string_view::npos;
}

char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsReservedDeviceName(std::string_view name) {
  // Windows looks at the part before the first dot, trailing blanks dropped.
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  std::string upper;
  for (char c : stem) upper.push_back(AsciiUpper(c));
  constexpr std::array<std::string_view, 6> kPlain = {"CON", "PRN",    "AUX",
                                                      "NUL", "CONIN$", "CONOUT$"};
  for (auto reserved : kPlain) {
    if (upper == reserved) return true;
  }
  for (std::string_view port : {"COM", "LPT"}) {
    if (upper.size() < 4 || std::string_view(upper).substr(0, 3) != port) continue;
    const std::string_view digit = std::string_view(upper).substr(3);
    if (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') return true;
    // Superscript one, two and three in UTF-8.
    if (digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3") return true;
  }
  return false;
}

}  // namespace

std::string FileNameProblem(std::string_view utf8Name) {
  if (utf8Name.empty()) return "is empty";
  if (utf8Name == "." || utf8Name == "..") return "is \".\" or \"..\"";
  if (utf8Name.size() > kMaxFileNameBytes) return "is too long";
  std::size_t pos = 0;
  while (pos < utf8Name.size()) {
    char32_t cp = 0;
    if (!NextUtf8CodePoint(utf8Name, pos, cp)) return "is not valid UTF-8 text";
    if (IsControl(cp) || IsBidiControl(cp)) return "contains a control character";
    if (IsForbiddenOnWindows(cp)) return "contains a character that file names cannot contain";
  }
  if (utf8Name.back() == '.' || utf8Name.back() == ' ') return "ends with a dot or a blank";
  if (IsReservedDeviceName(utf8Name)) return "is a name that Windows reserves for a device";
  return {};
}

}  // namespace orvane

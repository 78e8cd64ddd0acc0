#include "cli/terminal_text.h"

#include <algorithm>
#include <cstdio>

#include "desktop/utf_text.h"

namespace orvane {

namespace {

void AppendVisible(std::string& out, char32_t c) {
  if (!TerminalActsOn(c)) return AppendUtf8(out, c);
  char escape[8];
  std::snprintf(escape, sizeof escape, c < 0x100 ? "\\x%02x" : "\\u%04x", unsigned(c));
  out += escape;
}

}  // namespace

bool TerminalActsOn(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string TerminalText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  if (IsValidUtf8(bytes)) {
    char32_t c = 0;
    for (std::size_t pos = 0; pos < bytes.size();)
      if (NextUtf8CodePoint(bytes, pos, c)) AppendVisible(out, c);
    return out;
  }
  for (const char byte : bytes) {
    // A byte Windows-1252 leaves unassigned stands for no character; taken
    // as its Latin-1 control, it is shown as \xHH like the others.
    const auto value = static_cast<unsigned char>(byte);
    AppendVisible(out, Windows1252Char(value).value_or(value));
  }
  return out;
}

std::string TerminalLines(std::string_view text) {
  std::string out;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    out += TerminalText(text.substr(start, end - start));
    if (end < text.size()) out += '\n';
    start = end + 1;
  }
  return out;
}

}  // namespace orvane

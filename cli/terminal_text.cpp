#include "cli/terminal_text.h"

#include <algorithm>
#include <cstdio>

#include "resources/text_table.h"
#include "text/utf_text.h"

namespace orvane {

namespace {

void AppendEscaped(std::string& out, char32_t c) {
  char escape[8];
  std::snprintf(escape, sizeof escape, c < 0x100 ? "\\x%02x" : "\\u%04x", unsigned(c));
  out += escape;
}

void AppendVisible(std::string& out, char32_t c) {
  if (TerminalActsOn(c)) return AppendEscaped(out, c);
  AppendUtf8(out, c);
}

}  // namespace

bool TerminalActsOn(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

PcCodePage CommandLineCodePage() {
  return ThisPcCodePage(LegacyCodePage(Language::English));
}

std::string TerminalText(std::string_view bytes, const PcCodePage& pc) {
  std::string out;
  out.reserve(bytes.size());
  if (pc.utf8First && IsValidUtf8(bytes)) {
    char32_t c = 0;
    for (std::size_t pos = 0; pos < bytes.size();)
      if (NextUtf8CodePoint(bytes, pos, c)) AppendVisible(out, c);
    return out;
  }
  // A byte that starts no character is shown as \xHH like a control: it is
  // what the device sent.
  for (const char32_t c : DecodeCodePage(bytes, pc.codePage)) {
    if (c >= kUndecodedByte)
      AppendEscaped(out, c - kUndecodedByte);
    else
      AppendVisible(out, c);
  }
  return out;
}

std::string TerminalText(std::string_view bytes) {
  static const PcCodePage pc = CommandLineCodePage();
  return TerminalText(bytes, pc);
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

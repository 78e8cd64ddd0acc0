#include "cli/terminal.h"

namespace orvane {

namespace {

// Reads one line into sink byte by byte. A line typed or piped on Windows
// ends in CR LF: the CR goes too.
template <typename Sink>
bool ReadLineInto(Sink& sink, bool& endsInCr) {
  char byte = 0;
  bool any = false;
  endsInCr = false;
  while (ReadInputByte(byte)) {
    any = true;
    if (byte == '\n') return true;
    endsInCr = byte == '\r';
    sink.push(byte);
  }
  return any;
}

}  // namespace

std::optional<std::string> ConsoleTerminal::ReadLine() {
  struct {
    std::string text;
    void push(char c) { text.push_back(c); }
  } line;
  bool cr = false;
  if (!ReadLineInto(line, cr)) return std::nullopt;
  if (cr) line.text.pop_back();
  return line.text;
}

std::optional<Secret> ConsoleTerminal::ReadSecret(bool hidden) {
  std::optional<HiddenInput> quiet;
  if (hidden) quiet.emplace();
  struct {
    Secret text;
    void push(char c) { text.Append(c); }
  } line;
  bool cr = false;
  if (!ReadLineInto(line, cr)) return std::nullopt;
  if (cr) line.text.PopBack();
  return std::move(line.text);
}

}  // namespace orvane

#pragma once
// Text bound for a terminal. Devices name themselves, and anyone on the LAN
// can answer as a device: a name may hold the escape sequences and controls
// that make a terminal move its cursor, rewrite a line, retitle its window or
// turn text around. Such a name is shown, never obeyed.

#include <string>
#include <string_view>

#include "text/code_page.h"

namespace orvane {

// Whether a terminal acts on the character rather than showing it: the C0
// controls, DEL, the C1 controls, the bidirectional controls and the line and
// paragraph separators.
bool TerminalActsOn(char32_t c);

// The code page the command line reads device texts in: this PC's for its
// language, English.
PcCodePage CommandLineCodePage();

// Bytes a device sent (or any one line of text that holds them), decoded as
// the wizard decodes them (DeviceTextToUtf8), with every character a terminal
// would act on written visibly instead: the C0 controls (CR, LF and TAB among
// them, so a name never starts a line of its own), DEL and the C1 controls as
// \xHH, the bidirectional controls and the line and paragraph separators as
// \uHHHH, and a byte that starts no character of the code page as \xHH of the
// byte. Every other character, é or 中 alike, stands as it is.
std::string TerminalText(std::string_view bytes, const PcCodePage& pc);
// With CommandLineCodePage().
std::string TerminalText(std::string_view bytes);

// Text of several lines: each line as TerminalText shows it, the line ends
// kept.
std::string TerminalLines(std::string_view text);

}  // namespace orvane

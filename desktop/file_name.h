#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// The longest file name Linux and Windows both accept: 255 bytes on Linux, 255
// UTF-16 units on Windows (UTF-8 needs at least one byte per UTF-16 unit, so
// 255 bytes hold on both).
inline constexpr std::size_t kMaxFileNameBytes = 255;

// Shortcut names carry a host name that came in a datagram from anyone on the
// LAN. The whole name, as it will stand in the folder, is judged: a name that
// is a valid file name on Windows and on Linux is written as it is, any other
// is refused and the caller gets the reason. Cleaning was rejected because no
// cleaning is one-to-one: "a/b" cleaned to "a_b" would overwrite the shortcuts
// of a real host "a_b".
//
// Not valid: the empty name, "." and "..", a path separator or another
// character Windows forbids (< > : " / \ | ? *), a control character (C0, DEL,
// C1) or a bidirectional-text control (which could make the name display as
// something else), bytes that are not UTF-8, a name Windows reserves for a
// device (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9, LPT0-9 and COM/LPT with
// a superscript 1-3, in any case, alone or before a dot), a trailing dot or
// blank (Windows drops them, so two names would meet in one file), and more
// than kMaxFileNameBytes bytes. A valid name is one path component that names
// neither the folder nor its parent, so it always lands inside the folder.
//
// Returns the empty string for a valid name, otherwise the reason as the end of
// an English sentence ("is empty", "contains a control character", ...).
std::string FileNameProblem(std::string_view utf8Name);

}  // namespace orvane

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// Host names come from datagrams on the network and are not to be trusted, yet
// they become part of a file name on the user's desktop. The rule:
//
//  - A name that is a valid file name on Windows and on Linux by itself goes
//    into the file name byte for byte, as the device sent it.
//  - Any other name is refused: no file is written and the caller gets the
//    reason. Cleaning was rejected because no cleaning is one-to-one: "a/b"
//    cleaned to "a_b" would overwrite the shortcuts of a real host "a_b".
//
// Not valid: the empty name, "." and "..", a name with a path separator or
// another character Windows forbids (< > : " / \ | ? *), a control character
// (C0, DEL, C1) or a bidirectional-text control (which could make the name
// display as something else), bytes that are not UTF-8 (the link strings are
// Unicode and the file must keep its name when copied to Windows), a name
// Windows reserves for a device (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9,
// LPT0-9 and COM/LPT with a superscript 1-3, in any case, alone or before a
// dot), a trailing dot or blank (Windows drops them, so two names would meet
// in one file), and a name longer than maxBytes bytes, the room left in a
// 255-byte file name.
//
// Returns the empty string for a valid name, otherwise the reason as the end of
// an English sentence ("is empty", "contains a control character", ...).
std::string HostFileNameProblem(std::string_view hostName, std::size_t maxBytes);

}  // namespace orvane

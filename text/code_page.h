#pragma once
// The code page of the texts a device and this PC exchange. A device sends
// its names, and takes the management credentials, as bytes of the PC's ANSI
// code page: Big5 on a Traditional Chinese Windows, Windows-1252 on an
// English one. Windows says which one is active; Linux has none, so there the
// language of the program stands in for it, behind UTF-8.
//
// The bytes a device sent are kept as sent and go back to it unchanged; only
// what is shown or named decodes them.

#include <optional>
#include <string>
#include <string_view>

#include "text/secret.h"

namespace orvane {

inline constexpr unsigned kCodePageBig5 = 950;
inline constexpr unsigned kCodePageWindows1252 = 1252;
inline constexpr unsigned kCodePageUtf8 = 65001;

// In the text DecodeCodePage gives, a byte that starts no character of the
// code page (a lead byte without a fitting trail byte, a byte the code page
// leaves unassigned) stands as this plus the byte: above every character, so
// a caller can show the byte itself or a replacement character.
inline constexpr char32_t kUndecodedByte = 0x110000;

// The characters of the bytes in the code page, one by one. After an undecoded
// byte, the next byte is read afresh, so one stray byte spoils one character.
// code_page_linux.cpp (iconv of the C library) / code_page_win.cpp (Win32).
std::u32string DecodeCodePage(std::string_view bytes, unsigned codePage);

// UTF-8 text as bytes of the code page; nothing when the text is not UTF-8 or
// holds a character the code page has no place for. Nothing is approximated:
// a '?' or a look-alike letter would be sent as part of a password.
std::optional<std::string> EncodeCodePage(std::string_view utf8, unsigned codePage);

// How this PC reads what devices send and writes what it sends them.
struct PcCodePage {
  unsigned codePage;
  // Valid UTF-8 is read as UTF-8 before the code page is tried, and the
  // credentials leave as UTF-8.
  bool utf8First;
};

// Windows: the active ANSI code page, alone. Linux: UTF-8 first, then
// `languageCodePage`, the code page of the program's language.
// code_page_linux.cpp / code_page_win.cpp.
PcCodePage ThisPcCodePage(unsigned languageCodePage);

// A text a device sent (a host name, a disk model), decoded for display and
// for file names alike, as UTF-8; an undecoded byte becomes U+FFFD.
std::string DeviceTextToUtf8(std::string_view bytes, const PcCodePage& pc);

// The credentials typed (UTF-8) as the bytes that go to the device; nothing
// when the code page cannot hold one of their characters. A Secret, since
// they hold the password.
std::optional<Secret> CredentialBytes(std::string_view utf8, const PcCodePage& pc);

}  // namespace orvane

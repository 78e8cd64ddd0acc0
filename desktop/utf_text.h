#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Text that reaches the desktop code arrives as bytes (from the wire, or a
// Linux file name). A shell link stores UTF-16, so the bytes are read as UTF-8.
// A byte that does not start a complete, shortest-form UTF-8 sequence of a
// scalar value becomes U+FFFD on its own: the link then shows a visible
// replacement character instead of silently dropping or reinterpreting data.
std::u16string Utf8ToUtf16(std::string_view bytes);

// The reverse, for the tests' shell-link reader (tests/support); an unpaired
// surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// True when every byte belongs to a complete, shortest-form UTF-8 sequence of a
// scalar value.
bool IsValidUtf8(std::string_view bytes);

// A text a device sent (a host name, a disk model), decoded the one way the
// wizard decodes such texts, for display and for file names alike: UTF-8 when
// the bytes are valid UTF-8, else Windows-1252, the ANSI code page such
// devices were made for. The result is UTF-8. Windows-1252 is Latin-1 but for
// 0x80-0x9F; the five of those it leaves unused stay the Latin-1 control
// characters. The wire keeps the bytes as sent; only what is shown or named
// uses this.
std::string DeviceTextToUtf8(std::string_view bytes);

// The character Windows-1252 gives a byte; nothing for the five bytes it
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D), which no text means.
std::optional<char32_t> Windows1252Char(unsigned char byte);

// Appends the UTF-8 form of a scalar value.
void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the scalar value at bytes[pos]. On success stores it in codePoint,
// advances pos past the sequence and returns true; on failure advances pos by
// one byte and returns false.
bool NextUtf8CodePoint(std::string_view bytes, std::size_t& pos, char32_t& codePoint);

}  // namespace orvane

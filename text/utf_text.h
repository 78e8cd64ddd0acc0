#pragma once

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

// Appends the UTF-8 form of a scalar value.
void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the scalar value at bytes[pos]. On success stores it in codePoint,
// advances pos past the sequence and returns true; on failure advances pos by
// one byte and returns false.
bool NextUtf8CodePoint(std::string_view bytes, std::size_t& pos, char32_t& codePoint);

}  // namespace orvane

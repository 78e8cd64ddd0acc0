#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Reads an IPv4 address written as exactly four dot-separated decimal parts,
// each 0 to 255, and returns it in host byte order.
//
// Stricter than inet_addr on purpose: inet_addr also takes "1.2.3" (as
// 1.2.0.3), "10" and hex or octal parts ("0x0a.1.1.1", "010.1.1.1"), so a
// mistyped or truncated text would be probed or addressed as some other host.
// A part with a leading zero is refused for the same reason: readers disagree
// on whether "010" is eight or ten. No blanks, signs or empty parts.
std::optional<std::uint32_t> ParseDottedQuad(std::string_view text);

// The dotted-decimal text of a host-byte-order address.
std::string FormatDottedQuad(std::uint32_t hostOrder);

}  // namespace orvane

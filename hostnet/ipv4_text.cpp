#include "hostnet/ipv4_text.h"

namespace orvane {

std::optional<std::uint32_t> ParseDottedQuad(std::string_view text) {
  std::uint32_t address = 0;
  std::size_t pos = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (pos >= text.size() || text[pos] != '.') {
        return std::nullopt;
      }
      ++pos;
    }
    const std::size_t start = pos;
    std::uint32_t value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3) {
      value = value * 10 + static_cast<std::uint32_t>(text[pos] - '0');
      ++pos;
    }
    const std::size_t digits = pos - start;
    if (digits == 0 || value > 255 || (digits > 1 && text[start] == '0')) {
      return std::nullopt;
    }
    address = (address << 8) | value;
  }
  // A fourth digit or anything after the fourth part leaves text unread.
  if (pos != text.size()) {
    return std::nullopt;
  }
  return address;
}

std::string FormatDottedQuad(std::uint32_t hostOrder) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    text += std::to_string((hostOrder >> shift) & 0xFFu);
    if (shift > 0) {
      text += '.';
    }
  }
  return text;
}

}  // namespace orvane

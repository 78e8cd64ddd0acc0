#include "hostnet/neighbour.h"

namespace orvane {

std::optional<HardwareAddress> ParseHardwareAddress(std::string_view text) {
  if (text.size() != 17) return std::nullopt;
  const char separator = text[2];
  if (separator != ':' && separator != '-') return std::nullopt;
  const auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  HardwareAddress out{};
  for (std::size_t i = 0; i < out.size(); ++i) {
    const std::size_t at = i * 3;
    const int high = hex(text[at]);
    const int low = hex(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    if (i + 1 < out.size() && text[at + 2] != separator) return std::nullopt;
    out[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return out;
}

}  // namespace orvane

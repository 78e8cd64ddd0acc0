#pragma once
// The wizard's colours, as 0x00BBGGRR numbers: red in the lowest byte.

#include <cstdint>

namespace orvane {

inline constexpr std::uint32_t kSlateBlue = 0x00947D4E;
inline constexpr std::uint32_t kOliveGreen = 0x0022AC8D;
inline constexpr std::uint32_t kWhite = 0x00FFFFFF;

inline constexpr std::uint32_t kPageBackColor = kSlateBlue;
inline constexpr std::uint32_t kTextBackColor = kOliveGreen;
inline constexpr std::uint32_t kTextForeColor = kWhite;
inline constexpr std::uint32_t kOptionBackColor = kSlateBlue;
inline constexpr std::uint32_t kLabelBackColor = kSlateBlue;
inline constexpr std::uint32_t kLabelForeColor = kWhite;

}  // namespace orvane

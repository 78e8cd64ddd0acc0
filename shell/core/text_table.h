#pragma once
// The numbered text table in two languages, and LoadText.

#include <cstdint>
#include <string>

namespace orvane {

inline constexpr std::int16_t kEnglishBase = 700;
inline constexpr std::int16_t kChineseBase = 500;
inline constexpr int kTextCount = 58;

// The string resource with this number (701-758 English, 501-558 Traditional
// Chinese), UTF-8. A number with no entry gives the empty text: no page asks
// for one, and an empty caption is easier to spot and safer than a crash.
std::string LoadResString(int number);

// Text N in the current language: the resource numbered TextBase + N, the sum
// formed in 16-bit signed arithmetic as the table's numbering defines it.
std::string LoadText(int n);

}  // namespace orvane

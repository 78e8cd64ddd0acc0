#include "device/list_format.h"

#include <cstdlib>
#include <limits>
#include <string_view>

namespace orvane {

namespace {

// numerator / denominator rounded to the nearest integer, a tie to the even one.
// The denominator must not be 0; both may be negative.
std::int64_t DivideRoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  std::int64_t quotient = numerator / denominator;  // truncates toward zero
  const std::int64_t remainder = numerator % denominator;
  const std::int64_t twiceRest = 2 * std::llabs(remainder);
  const bool awayFromZero =
      twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0);
  if (awayFromZero) quotient += remainder < 0 ? -1 : 1;
  return quotient;
}

// `scaled` counts units of 10^-decimals; written without trailing zeros and
// without a separator for a whole number.
std::string WriteShortest(std::int64_t scaled, int decimals, char decimalSeparator,
                          std::string_view unit) {
  std::int64_t factor = 1;
  for (int i = 0; i < decimals; ++i) factor *= 10;
  const bool negative = scaled < 0;
  // |scaled| fits: callers never pass the most negative 64-bit value.
  const std::int64_t magnitude = negative ? -scaled : scaled;
  std::int64_t fraction = magnitude % factor;
  int fractionDigits = decimals;
  while (fractionDigits > 0 && fraction % 10 == 0 && fraction != 0) {
    fraction /= 10;
    --fractionDigits;
  }

  std::string text;
  if (negative && magnitude != 0) text.push_back('-');
  text.append(std::to_string(magnitude / factor));
  if (fraction != 0) {
    const std::string digits = std::to_string(fraction);
    text.push_back(decimalSeparator);
    text.append(static_cast<std::size_t>(fractionDigits) - digits.size(), '0');
    text.append(digits);
  }
  text.append(unit);
  return text;
}

constexpr std::int64_t kSectorBytes = 512;
constexpr std::int32_t kCapacityGbAbove = 1953125;  // sectors in 10^9 bytes
constexpr std::int32_t kCapacityMbAbove = 1953;     // 1953.125 sectors in 10^6 bytes
constexpr std::int32_t kTotalGbAbove = 1000000;     // KB
constexpr std::int32_t kTotalMbAbove = 6000;        // KB

}  // namespace

std::string FormatCapacity(std::int32_t sectors, char decimalSeparator) {
  const std::int64_t bytes = sectors * kSectorBytes;
  // One decimal: count tenths of a GB (10^8 bytes) or of a MB (10^5 bytes).
  if (sectors > kCapacityGbAbove) {
    return WriteShortest(DivideRoundHalfEven(bytes, 100000000), 1, decimalSeparator, "GB");
  }
  if (sectors > kCapacityMbAbove) {
    return WriteShortest(DivideRoundHalfEven(bytes, 100000), 1, decimalSeparator, "MB");
  }
  return {};
}

std::string FormatTotal(std::int32_t kb, char decimalSeparator) {
  // Two decimals: count hundredths of a GB (10^4 KB) or of a MB (10 KB).
  if (kb > kTotalGbAbove) {
    return WriteShortest(DivideRoundHalfEven(kb, 10000), 2, decimalSeparator, "GB");
  }
  if (kb > kTotalMbAbove) {
    return WriteShortest(DivideRoundHalfEven(kb, 10), 2, decimalSeparator, "MB");
  }
  return "0";
}

std::string FormatUsed(std::int32_t totalKb, std::int32_t availKb, char decimalSeparator) {
  if (availKb <= 0) return std::to_string(availKb);
  if (totalKb == 0) return {};
  const std::int64_t used = std::int64_t{totalKb} - availKb;
  if (used < std::numeric_limits<std::int32_t>::min() ||
      used > std::numeric_limits<std::int32_t>::max()) {
    return {};
  }
  // The share is rounded to hundredths and then multiplied by 100, so it is
  // always a whole percentage: round 100 * used / total once, exactly.
  const std::int64_t percent = DivideRoundHalfEven(100 * used, totalKb);
  return WriteShortest(percent, 0, decimalSeparator, "%");
}

}  // namespace orvane

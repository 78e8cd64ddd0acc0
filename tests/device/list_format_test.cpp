// The three number columns of the device list page.

#include "device/list_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace orvane {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct OneFigure {
  std::int32_t value;
  char separator;
  const char* expected;
};

TEST(ListFormat, Capacity) {
  const OneFigure cases[] = {
      {156301488, '.', "80GB"},  // worked value
      {1000000, '.', "512MB"},   // worked value
      {1953125, '.', "1000MB"},  // exactly 10^9 bytes is still MB
      {1953126, '.', "1GB"},
      {1954, '.', "1MB"},  // 1000448 bytes
      {1953, '.', ""},
      {0, '.', ""},
      {-5, '.', ""},
      {kMin, '.', ""},
      {150000000, '.', "76.8GB"},
      {150000000, ',', "76,8GB"},
      {2000000, '.', "1GB"},    // 1.024 GB
      {2100000, ',', "1,1GB"},  // 1.0752 GB
      {19532, '.', "10MB"},     // 9.999 MB rounds up to a whole number
      {3906250, '.', "2GB"},
      {kMax, '.', "1099.5GB"},  // 1099.511627264 GB
      {4000, '.', "2MB"},       // 2.048 MB
      {5000, '.', "2.6MB"},     // 2.56 MB
  };
  for (const OneFigure& c : cases) {
    EXPECT_EQ(FormatCapacity(c.value, c.separator), c.expected) << c.value;
  }
}

TEST(ListFormat, Total) {
  const OneFigure cases[] = {
      {76896036, '.', "76.9GB"},  // worked value
      {76896036, ',', "76,9GB"},
      {1000000, '.', "1000MB"},  // worked value
      {1000001, '.', "1GB"},
      {6001, '.', "6MB"},  // worked value
      {6000, '.', "0"},
      {0, '.', "0"},
      {-1, '.', "0"},
      {kMin, '.', "0"},
      {123456, '.', "123.46MB"},
      {123456, ',', "123,46MB"},
      {76900000, '.', "76.9GB"},
      {1050000, '.', "1.05GB"},
      {kMax, '.', "2147.48GB"},
      // Exact ties go to the even digit; as binary doubles these sit just below
      // the tie (6.015 is 6.01499...) and would wrongly round down.
      {6015, '.', "6.02MB"},
      {6025, '.', "6.02MB"},
      {6035, '.', "6.04MB"},
      {6005, '.', "6MB"},
      {1015000, '.', "1.02GB"},
      {1005000, '.', "1GB"},
      {999995, '.', "1000MB"},  // 999.995 -> 1000.00
      {999985, '.', "999.98MB"},
  };
  for (const OneFigure& c : cases) {
    EXPECT_EQ(FormatTotal(c.value, c.separator), c.expected) << c.value;
  }
}

TEST(ListFormat, Used) {
  struct Case {
    std::int32_t total;
    std::int32_t available;
    const char* expected;
  };
  const Case cases[] = {
      {76896036, 41000000, "47%"},  // worked value
      {76896036, 76896036, "0%"},   // worked value
      {1000, 1050, "-5%"},          // worked value
      {76896036, 0, "0"},           // no percent sign
      {0, 0, "0"},
      {5000, -7, "-7"},
      {5000, kMin, "-2147483648"},
      {1000, 1, "100%"},  // 0.999 -> 1.00
      {1000, 999, "0%"},  // 0.001 -> 0.00
      {1000, 994, "1%"},
      // Ties at the hundredth go to the even digit.
      {200, 1, "100%"},   // 0.995
      {200, 3, "98%"},    // 0.985
      {200, 5, "98%"},    // 0.975
      {200, 201, "0%"},   // -0.005: no "-0%"
      {200, 203, "-2%"},  // -0.015
      {1, kMax, "-214748364600%"},
      {kMax, 1, "100%"},
      {-1000, 50, "105%"},  // a negative total is shown as computed
      // No sound share: total 0, or T - A outside the 32-bit range.
      {0, 5, ""},
      {0, kMax, ""},
      {kMin, 1, ""},
      {-2000000000, 200000000, ""},
      {-2000000000, 147483648, "107%"},  // T - A is exactly the 32-bit minimum
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatUsed(c.total, c.available, '.'), c.expected) << c.total << " " << c.available;
  }
  EXPECT_EQ(FormatUsed(76896036, 41000000, ','), "47%");
}

}  // namespace
}  // namespace orvane

#include "hostnet/ipv4_text.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(ParseDottedQuad, AcceptsFourDecimalParts) {
  struct Case {
    const char* text;
    std::uint32_t value;
  };
  const Case cases[] = {
      {"0.0.0.0", 0x00000000u},   {"255.255.255.255", 0xFFFFFFFFu}, {"192.168.1.10", 0xC0A8010Au},
      {"10.77.5.9", 0x0A4D0509u}, {"1.2.3.4", 0x01020304u},         {"100.0.200.0", 0x6400C800u},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseDottedQuad(c.text);
    ASSERT_TRUE(parsed.has_value()) << c.text;
    EXPECT_EQ(*parsed, c.value) << c.text;
  }
}

TEST(ParseDottedQuad, RefusesWhatInetAddrWouldStretch) {
  for (const char* text : {
           "",          "1.2.3",           "1.2.3.4.5", "10",        "0x0a.1.1.1",
           "010.1.1.1", "1.2.3.04",        "256.1.1.1", "1.2.3.256", "1.2.3.1000",
           "1..3.4",    ".1.2.3",          "1.2.3.",    " 1.2.3.4",  "1.2.3.4 ",
           "1.2.3.4\n", "+1.2.3.4",        "-1.2.3.4",  "1.2.3.a",   "a.b.c.d",
           "1,2,3,4",   "999.999.999.999",
       }) {
    EXPECT_FALSE(ParseDottedQuad(text).has_value()) << '"' << text << '"';
  }
  EXPECT_FALSE(ParseDottedQuad(std::string_view("1.2.3.4\0", 8)).has_value());
}

TEST(FormatDottedQuad, WritesWhatParseReads) {
  for (const char* text : {"0.0.0.0", "255.255.255.255", "10.77.4.1", "192.168.100.254"}) {
    EXPECT_EQ(FormatDottedQuad(*ParseDottedQuad(text)), text);
  }
}

}  // namespace
}  // namespace orvane

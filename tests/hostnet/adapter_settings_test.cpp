#include "hostnet/adapter_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace orvane {
namespace {

std::array<char, 16> Field(const char* text) {
  std::array<char, 16> field{};
  std::strncpy(field.data(), text, field.size());
  return field;
}

// Fills every byte after the value's NUL with junk, to prove that trimming
// stops at the first NUL instead of relying on the field being NUL-filled.
std::array<char, 16> FieldWithJunk(const char* text) {
  std::array<char, 16> field;
  field.fill('9');
  std::strcpy(field.data(), text);
  return field;
}

class FixedAdapters : public AdapterSource {
 public:
  FixedAdapters(bool succeeds, std::vector<AdapterRecord> adapters)
      : succeeds_(succeeds), adapters_(std::move(adapters)) {}
  bool Query(std::vector<AdapterRecord>& adapters) override {
    ++queries;
    adapters = adapters_;
    return succeeds_;
  }
  int queries = 0;

 private:
  bool succeeds_;
  std::vector<AdapterRecord> adapters_;
};

TEST(TrimAtNul, KeepsCharactersBeforeFirstNul) {
  using namespace std::string_view_literals;
  EXPECT_EQ(TrimAtNul("10.0.0.1\0\0\0\0\0\0\0\0"sv), "10.0.0.1");
  EXPECT_EQ(TrimAtNul("1.2\0"
                      "3.4"sv),
            "1.2");
  EXPECT_EQ(TrimAtNul("\0abc"sv), "");
  EXPECT_EQ(TrimAtNul("no nul at all"sv), "no nul at all");
  EXPECT_EQ(TrimAtNul(""sv), "");
}

// The three values in order, so that a mismatch prints all of them.
std::vector<std::string> Values(const LocalSettings& s) {
  return {s.LocalAddress, s.LocalNetmask, s.LocalGateway};
}

using Three = std::vector<std::string>;

TEST(ReadLocalSettings, FirstAdapterOnly) {
  FixedAdapters source(true,
                       {
                           {Field("192.168.1.10"), Field("255.255.255.0"), Field("192.168.1.1")},
                           {Field("10.0.0.5"), Field("255.0.0.0"), Field("10.0.0.1")},
                       });
  EXPECT_EQ(Values(ReadLocalSettings(source)),
            (Three{"192.168.1.10", "255.255.255.0", "192.168.1.1"}));
  EXPECT_EQ(source.queries, 1);
}

TEST(ReadLocalSettings, TrimsEachFieldAtItsNul) {
  FixedAdapters source(
      true, {{FieldWithJunk("10.1.2.3"), FieldWithJunk("255.255.0.0"), FieldWithJunk("10.1.0.1")}});
  EXPECT_EQ(Values(ReadLocalSettings(source)), (Three{"10.1.2.3", "255.255.0.0", "10.1.0.1"}));
}

TEST(ReadLocalSettings, FifteenCharacterValueFillsFieldAndIsWhole) {
  FixedAdapters source(
      true, {{Field("192.168.100.200"), Field("255.255.255.255"), Field("192.168.100.254")}});
  EXPECT_EQ(Values(ReadLocalSettings(source)),
            (Three{"192.168.100.200", "255.255.255.255", "192.168.100.254"}));
}

TEST(ReadLocalSettings, FieldOfSixteenNulsIsEmptyAndTheOthersStay) {
  struct Case {
    AdapterRecord record;
    Three values;
  };
  const Case cases[] = {
      {{Field("10.0.0.2"), Field("255.0.0.0"), Field("")}, {"10.0.0.2", "255.0.0.0", ""}},
      {{Field("10.0.0.2"), Field(""), Field("10.0.0.1")}, {"10.0.0.2", "", "10.0.0.1"}},
      {{Field(""), Field("255.0.0.0"), Field("10.0.0.1")}, {"", "255.0.0.0", "10.0.0.1"}},
      {{Field(""), Field(""), Field("")}, {"", "", ""}},
      {{Field("0.0.0.0"), Field("0.0.0.0"), Field("0.0.0.0")}, {"0.0.0.0", "0.0.0.0", "0.0.0.0"}},
  };
  for (const Case& c : cases) {
    FixedAdapters source(true, {c.record});
    EXPECT_EQ(Values(ReadLocalSettings(source)), c.values);
  }
}

TEST(ReadLocalSettings, FailedQueryOrNoAdapterGivesThreeEmptyValues) {
  FixedAdapters failed(false, {{Field("1.1.1.1"), Field("2.2.2.2"), Field("3.3.3.3")}});
  EXPECT_EQ(Values(ReadLocalSettings(failed)), (Three{"", "", ""}));
  FixedAdapters none(true, {});
  EXPECT_EQ(Values(ReadLocalSettings(none)), (Three{"", "", ""}));
}

}  // namespace
}  // namespace orvane

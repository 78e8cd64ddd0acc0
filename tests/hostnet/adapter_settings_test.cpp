#include "hostnet/adapter_settings.h"

#include <gtest/gtest.h>

#include <cstring>

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

TEST(GetAdapterSettings, JoinsFirstAdapterOnly) {
  FixedAdapters source(true,
                       {
                           {Field("192.168.1.10"), Field("255.255.255.0"), Field("192.168.1.1")},
                           {Field("10.0.0.5"), Field("255.0.0.0"), Field("10.0.0.1")},
                       });
  EXPECT_EQ(GetAdapterSettings("+", source), "192.168.1.10+255.255.255.0+192.168.1.1");
  EXPECT_EQ(source.queries, 1);
}

TEST(GetAdapterSettings, TrimsEachFieldAtItsNul) {
  FixedAdapters source(
      true, {{FieldWithJunk("10.1.2.3"), FieldWithJunk("255.255.0.0"), FieldWithJunk("10.1.0.1")}});
  EXPECT_EQ(GetAdapterSettings("+", source), "10.1.2.3+255.255.0.0+10.1.0.1");
}

TEST(GetAdapterSettings, FifteenCharacterValueFillsFieldAndIsWhole) {
  FixedAdapters source(
      true, {{Field("192.168.100.200"), Field("255.255.255.255"), Field("192.168.100.254")}});
  EXPECT_EQ(GetAdapterSettings("+", source), "192.168.100.200+255.255.255.255+192.168.100.254");
}

TEST(GetAdapterSettings, EmptyFieldKeepsBothSeparators) {
  struct Case {
    AdapterRecord record;
    const char* joined;
  };
  const Case cases[] = {
      {{Field("10.0.0.2"), Field("255.0.0.0"), Field("")}, "10.0.0.2+255.0.0.0+"},
      {{Field("10.0.0.2"), Field(""), Field("10.0.0.1")}, "10.0.0.2++10.0.0.1"},
      {{Field(""), Field("255.0.0.0"), Field("10.0.0.1")}, "+255.0.0.0+10.0.0.1"},
      {{Field(""), Field(""), Field("")}, "++"},
      {{Field("0.0.0.0"), Field("0.0.0.0"), Field("0.0.0.0")}, "0.0.0.0+0.0.0.0+0.0.0.0"},
  };
  for (const Case& c : cases) {
    FixedAdapters source(true, {c.record});
    EXPECT_EQ(GetAdapterSettings("+", source), c.joined);
  }
}

TEST(GetAdapterSettings, OtherSeparatorsAreDroppedWhole) {
  FixedAdapters source(true, {{Field("1.1.1.1"), Field("2.2.2.2"), Field("3.3.3.3")}});
  EXPECT_EQ(GetAdapterSettings(", ", source), "1.1.1.1, 2.2.2.2, 3.3.3.3");
  EXPECT_EQ(GetAdapterSettings("", source), "1.1.1.12.2.2.23.3.3.3");
}

TEST(GetAdapterSettings, FailedQueryOrNoAdapterGivesEmptyText) {
  FixedAdapters failed(false, {{Field("1.1.1.1"), Field("2.2.2.2"), Field("3.3.3.3")}});
  EXPECT_EQ(GetAdapterSettings("+", failed), "");
  FixedAdapters none(true, {});
  EXPECT_EQ(GetAdapterSettings("+", none), "");
}

TEST(SplitLocalSettings, SplitsAtFirstAndSecondPlus) {
  struct Case {
    const char* joined;
    const char* address;
    const char* netmask;
    const char* gateway;
  };
  const Case cases[] = {
      {"192.168.1.10+255.255.255.0+192.168.1.1", "192.168.1.10", "255.255.255.0", "192.168.1.1"},
      {"10.0.0.2+255.0.0.0+", "10.0.0.2", "255.0.0.0", ""},
      {"10.0.0.2++10.0.0.1", "10.0.0.2", "", "10.0.0.1"},
      {"+255.0.0.0+10.0.0.1", "", "255.0.0.0", "10.0.0.1"},
      {"++", "", "", ""},
      // Only the first two separate; anything after the second is gateway.
      {"a+b+c+d", "a", "b", "c+d"},
      // Texts a failed or odd query could leave.
      {"", "", "", ""},
      {"10.0.0.2", "", "", ""},
      {"10.0.0.2+255.0.0.0", "10.0.0.2", "255.0.0.0", ""},
  };
  for (const Case& c : cases) {
    const LocalSettings s = SplitLocalSettings(c.joined);
    EXPECT_EQ(s.LocalAddress, c.address) << c.joined;
    EXPECT_EQ(s.LocalNetmask, c.netmask) << c.joined;
    EXPECT_EQ(s.LocalGateway, c.gateway) << c.joined;
  }
}

TEST(SplitLocalSettings, UndoesGetAdapterSettings) {
  FixedAdapters source(true, {{Field("10.77.5.9"), Field("255.255.252.0"), Field("0.0.0.0")}});
  const LocalSettings s = SplitLocalSettings(GetAdapterSettings("+", source));
  EXPECT_EQ(s.LocalAddress, "10.77.5.9");
  EXPECT_EQ(s.LocalNetmask, "255.255.252.0");
  EXPECT_EQ(s.LocalGateway, "0.0.0.0");
}

}  // namespace
}  // namespace orvane

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "desktop/shell_link.h"
#include "tests/support/shell_link_reader.h"

namespace orvane {
namespace {

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
         (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

ShellLink WebLink() {
  ShellLink link;
  link.target = "http://192.168.1.20";
  link.description = "IP=192.168.1.20 , Manage your Orvane";
  link.workingDirectory = "/home/user/Desktop";
  link.iconPath = "SHELL32.dll";
  link.iconIndex = 15;
  return link;
}

struct RoundTripCase {
  const char* name;
  ShellLink link;
  const char* networkPath;  // what LinkInfo must name, "" when it must be absent
};

void PrintTo(const RoundTripCase& c, std::ostream* out) {
  *out << c.name;
}

class ShellLinkRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(ShellLinkRoundTrip, ReaderGetsBackEveryField) {
  const RoundTripCase& c = GetParam();
  const std::vector<std::uint8_t> bytes = WriteShellLink(c.link);
  ASSERT_FALSE(bytes.empty());
  const auto record = ReadShellLinkRecord(bytes);
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->link, c.link);
  EXPECT_EQ(record->networkPath, c.networkPath);
  EXPECT_EQ(record->environmentTarget, c.link.target);
  EXPECT_FALSE(record->hasIdList);
}

ShellLink With(ShellLink link, void (*change)(ShellLink&)) {
  change(link);
  return link;
}

INSTANTIATE_TEST_SUITE_P(
    Links, ShellLinkRoundTrip,
    testing::Values(
        RoundTripCase{"Url", WebLink(), ""},
        RoundTripCase{"BareServer",
                      With(WebLink(), [](ShellLink& l) { l.target = "\\\\192.168.1.20"; }),
                      "\\\\192.168.1.20"},
        RoundTripCase{"ShareAndPath",
                      With(WebLink(), [](ShellLink& l) { l.target = "\\\\nas\\public\\docs\\a"; }),
                      "\\\\nas\\public\\docs\\a"},
        RoundTripCase{"UnicodeEverywhere",
                      With(WebLink(),
                           [](ShellLink& l) {
                             l.target =
                                 "\\\\n\xC3\xA4s-\xF0\x9F\x92\xBE";  // "näs-" and a floppy disk
                             l.description = "\xE5\xAD\x98\xE5\x8F\x96 your Orvane";
                             l.workingDirectory = "/home/\xC3\xBC/\xE6\xA1\x8C\xE9\x9D\xA2";
                           }),
                      "\\\\n\xC3\xA4s-\xF0\x9F\x92\xBE"},
        RoundTripCase{"OtherHeaderValues",
                      With(WebLink(),
                           [](ShellLink& l) {
                             l.iconIndex = -3;
                             l.showCommand = kShowMinimizedNoActive;
                             l.hotKey = 0x0641;  // Ctrl+Shift+A
                           }),
                      ""},
        RoundTripCase{"NoOptionalStrings",
                      With(WebLink(),
                           [](ShellLink& l) {
                             l.description.clear();
                             l.workingDirectory.clear();
                             l.iconPath.clear();
                           }),
                      ""}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

TEST(ShellLinkWriter, HeaderHoldsTheFixedFieldsAtTheirOffsets) {
  const std::vector<std::uint8_t> bytes = WriteShellLink(WebLink());
  ASSERT_GE(bytes.size(), 0x4Cu);
  EXPECT_EQ(U32At(bytes, 0), 0x4Cu);
  const std::uint8_t clsid[] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  EXPECT_EQ(std::memcmp(bytes.data() + 4, clsid, sizeof clsid), 0);
  // HasName | HasWorkingDir | HasIconLocation | IsUnicode | HasExpString.
  EXPECT_EQ(U32At(bytes, 0x14), 0x2D4u);
  for (std::size_t at = 0x18; at < 0x38; ++at) EXPECT_EQ(bytes[at], 0) << "offset " << at;
  EXPECT_EQ(U32At(bytes, 0x38), 15u);  // IconIndex
  EXPECT_EQ(U32At(bytes, 0x3C), 1u);   // ShowCommand
  for (std::size_t at = 0x40; at < 0x4C; ++at) EXPECT_EQ(bytes[at], 0) << "offset " << at;
}

TEST(ShellLinkWriter, UncTargetAddsLinkInfoAndKeepsStringsUtf16) {
  ShellLink link = WebLink();
  link.target = "\\\\192.168.1.20";
  link.description = "\xC3\xA9";  // é
  const std::vector<std::uint8_t> bytes = WriteShellLink(link);
  EXPECT_EQ(U32At(bytes, 0x14), 0x2D6u);
  // LinkInfo follows the header: no local volume, a network link right after
  // its 0x24-byte header, and the LAN Manager provider marked valid.
  EXPECT_EQ(U32At(bytes, 0x4C + 4), 0x24u);
  EXPECT_EQ(U32At(bytes, 0x4C + 8), 0x2u);
  EXPECT_EQ(U32At(bytes, 0x4C + 0x14), 0x24u);
  EXPECT_EQ(U32At(bytes, 0x4C + 0x24 + 4), 0x2u);
  EXPECT_EQ(U32At(bytes, 0x4C + 0x24 + 16), 0x00020000u);
  // The description is the first string after LinkInfo: one UTF-16 unit.
  const std::size_t name = 0x4C + U32At(bytes, 0x4C);
  EXPECT_EQ(bytes[name], 1);
  EXPECT_EQ(bytes[name + 1], 0);
  EXPECT_EQ(bytes[name + 2], 0xE9);
  EXPECT_EQ(bytes[name + 3], 0x00);
}

TEST(ShellLinkWriter, EnvironmentBlockKeepsAsciiCopyAndEndsTheFile) {
  ShellLink link = WebLink();
  link.target = "http://h\xC3\xB6st";
  const std::vector<std::uint8_t> bytes = WriteShellLink(link);
  const std::size_t block = bytes.size() - 4 - 0x314;
  EXPECT_EQ(U32At(bytes, block), 0x314u);
  EXPECT_EQ(U32At(bytes, block + 4), 0xA0000001u);
  EXPECT_EQ(U32At(bytes, bytes.size() - 4), 0u);  // TerminalBlock
  const auto record = ReadShellLinkRecord(bytes);
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->environmentTargetAnsi, "http://h?st");
  EXPECT_EQ(record->link.target, link.target);
}

TEST(ShellLinkWriter, RefusesWhatTheFormatCannotHold) {
  ShellLink link = WebLink();
  link.target = "http://" + std::string(kMaxShellLinkTarget - 7, 'a');
  EXPECT_FALSE(WriteShellLink(link).empty());
  link.target += "a";
  EXPECT_TRUE(WriteShellLink(link).empty());
  // A character outside the BMP takes two of the 259 units.
  link.target = "http://" + std::string(kMaxShellLinkTarget - 8, 'a') + "\xF0\x9F\x92\xBE";
  EXPECT_TRUE(WriteShellLink(link).empty());
  link.target.clear();
  EXPECT_TRUE(WriteShellLink(link).empty());
  link = WebLink();
  link.description.assign(0x10000, 'd');
  EXPECT_TRUE(WriteShellLink(link).empty());
  link.description.pop_back();
  EXPECT_FALSE(WriteShellLink(link).empty());
}

TEST(ShellLinkWriter, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  ShellLink link = WebLink();
  link.description =
      "a\xFF"
      "b\xC3";
  const auto read = ReadShellLink(WriteShellLink(link));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->description,
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

TEST(ShellLinkReader, RejectsEveryTruncationAndSurvivesDamage) {
  for (const char* target : {"http://192.168.1.20", "\\\\192.168.1.20"}) {
    ShellLink link = WebLink();
    link.target = target;
    const std::vector<std::uint8_t> bytes = WriteShellLink(link);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
      EXPECT_FALSE(ReadShellLink(std::span(bytes.data(), size)).has_value()) << "size " << size;
    }
    std::mt19937 random(42);
    for (int round = 0; round < 2000; ++round) {
      std::vector<std::uint8_t> damaged = bytes;
      for (int flips = 0; flips < 4; ++flips) {
        damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
      }
      (void)ReadShellLinkRecord(damaged);  // must not crash or read out of bounds
    }
  }
  std::vector<std::uint8_t> wrongClsid = WriteShellLink(WebLink());
  wrongClsid[4] ^= 1;
  EXPECT_FALSE(ReadShellLink(wrongClsid).has_value());
}

TEST(IconLocation, SplitsPathAndIndexAsTheShellDoes) {
  const struct {
    const char* text;
    const char* path;
    std::int32_t index;
  } cases[] = {
      {"SHELL32.dll, 15", "SHELL32.dll", 15},
      {"SHELL32.dll, 9", "SHELL32.dll", 9},
      {"SHELL32.dll,4", "SHELL32.dll", 4},
      {" a , 7 ", "a", 7},
      {"a,b, 3", "a,b", 3},
      {"x, -2", "x", -2},
      {"x", "x", 0},
      {"x, abc", "x", 0},
      {"x,", "x", 0},
      {"x, 99999999999", "x", 0},
  };
  for (const auto& c : cases) {
    const IconLocation location = ParseIconLocation(c.text);
    EXPECT_EQ(location.path, c.path) << c.text;
    EXPECT_EQ(location.index, c.index) << c.text;
  }
}

}  // namespace
}  // namespace orvane

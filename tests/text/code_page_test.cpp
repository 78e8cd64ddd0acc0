#include "text/code_page.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr PcCodePage kBig5{kCodePageBig5, false};
constexpr PcCodePage kWestern{kCodePageWindows1252, false};
constexpr PcCodePage kLinuxBig5{kCodePageBig5, true};
constexpr PcCodePage kLinuxWestern{kCodePageWindows1252, true};

TEST(CodePage, DeviceTextsDecoded) {
  const struct {
    PcCodePage pc;
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {kBig5, "FILER-1", "FILER-1"},
      {kBig5, "\xA4\xA4\xA4\xE5", "中文"},
      {kLinuxBig5, "\xA4\xA4\xA4\xE5", "中文"},      // not UTF-8: read as Big5
      {kLinuxBig5, "\xE4\xB8\xAD", "\xE4\xB8\xAD"},  // valid UTF-8 stays
      {kBig5, "\xA4 x", "\xEF\xBF\xBD x"},           // a lead byte without a trail
      {kBig5, "x\xA4", "x\xEF\xBF\xBD"},             // cut at the end
      {kWestern, "\x80uro B\xDCRO", "€uro BÜRO"},
      {kWestern, "B\xC3\x9CRO", "BÃœRO"},  // the PC's code page alone: no UTF-8 first
      {kLinuxWestern, "B\xC3\x9CRO", "BÜRO"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DeviceTextToUtf8(c.bytes, c.pc), c.utf8)
        << c.pc.codePage << " " << testing::PrintToString(c.bytes);
}

TEST(CodePage, CredentialsEncodedOrRefused) {
  const struct {
    PcCodePage pc;
    std::string utf8;
    std::optional<std::string> bytes;
  } cases[] = {
      {kBig5, "vexil", "vexil"},
      {kBig5, "密碼", "\xB1\x4B\xBD\x58"},
      {kBig5, "pässwört", std::nullopt},  // Big5 has no ä: never sent as "a" or "?"
      {kWestern, "pässwört€", "p\xE4ssw\xF6rt\x80"},
      {kWestern, "密碼", std::nullopt},
      {kLinuxBig5, "pässwört", "pässwört"},  // UTF-8 as typed
  };
  for (const auto& c : cases) {
    const std::optional<Secret> got = CredentialBytes(c.utf8, c.pc);
    EXPECT_EQ(got ? std::optional<std::string>(got->View()) : std::nullopt, c.bytes)
        << c.pc.codePage << " " << c.utf8;
  }
}

}  // namespace
}  // namespace orvane

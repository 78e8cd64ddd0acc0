#include <gtest/gtest.h>

#include "desktop/file_name.h"
#include "text/utf_text.h"

namespace orvane {
namespace {

constexpr std::size_t kMax = kMaxFileNameBytes;

TEST(FileName, AcceptsNamesThatAreFileNamesAsTheyAre) {
  for (const char* name :
       {"FILER", "nas-01", "My NAS", "x.y", "a..b", ".hidden", "CONSOLE", "COM10", "LPT", "COMX",
        "AUXILIARY", "d\xC3\xBCsseldorf", "\xE5\xAD\x98\xE5\x84\xB2", "100%", "a&b;c$(d)"}) {
    EXPECT_EQ(FileNameProblem(name), "") << name;
  }
  EXPECT_EQ(FileNameProblem(std::string(kMax, 'n')), "");
}

TEST(FileName, RefusesNamesThatAreNotFileNames) {
  const struct {
    std::string name;
    const char* reason;
  } cases[] = {
      {"", "is empty"},
      {".", "is \".\" or \"..\""},
      {"..", "is \".\" or \"..\""},
      {"../x", "cannot contain"},
      {"a/b", "cannot contain"},
      {"a\\b", "cannot contain"},
      {"a:b", "cannot contain"},
      {"<x>", "cannot contain"},
      {"a\"b", "cannot contain"},
      {"a|b", "cannot contain"},
      {"a?b", "cannot contain"},
      {"a*b", "cannot contain"},
      {"tab\there", "control character"},
      {"line\nbreak", "control character"},
      {std::string("nul\0byte", 8), "control character"},
      {"del\x7F", "control character"},
      {"c1\xC2\x85", "control character"},
      {"gpj.\xE2\x80\xAE"
       "exe",
       "control character"},  // right-to-left override
      {"bad\xFF", "UTF-8"},
      {"half\xC3", "UTF-8"},
      {"overlong\xC0\xAF", "UTF-8"},
      {"surrogate\xED\xA0\x80", "UTF-8"},
      {"x.", "dot or a blank"},
      {"x ", "dot or a blank"},
      {"CON", "reserves"},
      {"con", "reserves"},
      {"PRN.txt", "reserves"},
      {"AUX", "reserves"},
      {"Nul.tar.gz", "reserves"},
      {"COM1", "reserves"},
      {"com9.lnk", "reserves"},
      {"LPT1", "reserves"},
      {"LPT9", "reserves"},
      {"COM0", "reserves"},
      {"COM\xC2\xB9", "reserves"},
      {"CON .x", "reserves"},
      {"CONOUT$", "reserves"},
      {std::string(kMax + 1, 'n'), "too long"},
      {std::string(300, 'n'), "too long"},
  };
  for (const auto& c : cases) {
    const std::string problem = FileNameProblem(c.name);
    EXPECT_NE(problem.find(c.reason), std::string::npos)
        << testing::PrintToString(c.name) << " gave \"" << problem << "\"";
  }
}

}  // namespace
}  // namespace orvane

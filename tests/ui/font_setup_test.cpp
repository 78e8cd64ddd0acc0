// The font configuration read ahead of the toolkit must be the one fontconfig
// would have read for itself: the same fonts, and every request matched to
// the same face with the same rendering settings.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/font_setup.h"
#include "ui/font_setup_linux.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// Sets (or with null, removes) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

using ConfigPtr = std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)>;

ConfigPtr Ours() {
  return {LoadFontConfiguration(), &FcConfigDestroy};
}
// What fontconfig's own start-up builds, without making it current.
ConfigPtr Fontconfigs() {
  return {FcInitLoadConfigAndFonts(), &FcConfigDestroy};
}

std::string Text(const FcChar8* s) {
  return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
}

// Every font of a configuration as "file#face", sorted.
std::vector<std::string> FontFiles(FcConfig* config) {
  std::vector<std::string> files;
  FcFontSet* set = FcConfigGetFonts(config, FcSetSystem);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcChar8* file = nullptr;
    int index = 0;
    FcPatternGetString(set->fonts[i], FC_FILE, 0, &file);
    FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
    files.push_back(Text(file) + "#" + std::to_string(index));
  }
  std::sort(files.begin(), files.end());
  return files;
}

using PatternPtr = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;

// The face a request (in fontconfig's name syntax) comes to, as the toolkit
// asks for it: with the configuration's substitutions and the defaults.
PatternPtr Matched(FcConfig* config, const std::string& request) {
  PatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(request.c_str())),
                     &FcPatternDestroy);
  if (!pattern) return {nullptr, &FcPatternDestroy};
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  return {FcFontMatch(config, pattern.get(), &result), &FcPatternDestroy};
}

// The whole match as text, so the face, the file and the rendering settings
// (hinting, antialiasing, subpixel order) all count.
std::string Match(FcConfig* config, const std::string& request) {
  PatternPtr match = Matched(config, request);
  if (!match) return "(no match)";
  FcChar8* unparsed = FcNameUnparse(match.get());
  std::string text = Text(unparsed);
  FcStrFree(unparsed);
  return text;
}

std::string Family(FcConfig* config, const std::string& request) {
  PatternPtr match = Matched(config, request);
  FcChar8* family = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch) return {};
  return Text(family);
}

// A folder of its own for one test's configuration files and font cache.
class FontSetupFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "orvane-font-setup-XXXXXX").string();
    ASSERT_NE(mkdtemp(name.data()), nullptr);
    dir_ = name;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string Write(const std::string& name, const std::string& body) {
    const fs::path path = dir_ / name;
    std::ofstream(path) << body;
    return path.string();
  }

  // A configuration of its own: the folder of one installed font, a cache
  // folder, an alias that only this file knows, and full hinting.
  std::string OwnConfiguration(const std::string& fontDir, const std::string& family) {
    return Write("own.conf",
                 "<?xml version=\"1.0\"?>\n<fontconfig>\n"
                 "  <dir>" +
                     fontDir +
                     "</dir>\n"
                     "  <cachedir>" +
                     (dir_ / "cache").string() +
                     "</cachedir>\n"
                     "  <alias><family>Orvane Test Face</family>"
                     "<prefer><family>" +
                     family +
                     "</family></prefer></alias>\n"
                     "  <match target=\"font\"><edit name=\"hintstyle\" mode=\"assign\">"
                     "<const>hintfull</const></edit></match>\n"
                     "</fontconfig>\n");
  }

  // The folder and family of the first font fontconfig's own configuration
  // lists; the tests need one installed font.
  static bool SomeInstalledFont(std::string* dir, std::string* family) {
    ConfigPtr config = Fontconfigs();
    FcFontSet* set = config ? FcConfigGetFonts(config.get(), FcSetSystem) : nullptr;
    for (int i = 0; set && i < set->nfont; ++i) {
      FcChar8* file = nullptr;
      FcChar8* name = nullptr;
      if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch &&
          FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &name) == FcResultMatch) {
        *dir = fs::path(Text(file)).parent_path().string();
        *family = Text(name);
        return true;
      }
    }
    return false;
  }

  fs::path dir_;
};

// The system's own configuration, loaded both ways.
class FontSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ours_);
    ASSERT_TRUE(theirs_);
  }

  ScopedEnv file_{"FONTCONFIG_FILE", nullptr};
  ScopedEnv debug_{"FC_DEBUG", nullptr};
  ConfigPtr ours_ = Ours();
  ConfigPtr theirs_ = Fontconfigs();
};

TEST_F(FontSetup, LoadsTheFontsFontconfigWouldLoad) {
  const std::vector<std::string> files = FontFiles(ours_.get());
  EXPECT_FALSE(files.empty());
  EXPECT_EQ(files, FontFiles(theirs_.get()));
}

TEST_F(FontSetup, EveryRequestMatchesAsFontconfigWouldMatchIt) {
  // The faces the layouts name and their stand-ins, the generic families the
  // toolkit falls back on, and requests that lean on language and size rules.
  const char* const requests[] = {
      "MS Sans Serif:size=8.25",
      "Microsoft Sans Serif",
      "Liberation Sans",
      "Liberation Sans:bold:size=12",
      "Verdana:size=8.25",
      "DejaVu Sans",
      "Arial:size=9",
      "\xE6\x96\xB0\xE7\xB4\xB0\xE6\x98\x8E\xE9\xAB\x94:size=12",  // 新細明體
      "PMingLiU",
      "Liberation Serif:size=12",
      "Noto Sans CJK TC",
      "Noto Serif CJK TC",
      "sans-serif",
      "serif",
      "monospace",
      "Sans Serif:size=9",
      "sans-serif:lang=zh-tw",
      "sans-serif:lang=ja",
      "DejaVu Sans:pixelsize=8",
      "Helvetica:italic",
  };
  for (const char* request : requests) {
    SCOPED_TRACE(request);
    EXPECT_EQ(Match(ours_.get(), request), Match(theirs_.get(), request));
  }
}

TEST_F(FontSetupFiles, ReadsTheConfigurationFontconfigFileNames) {
  std::string fontDir, family;
  ASSERT_TRUE(SomeInstalledFont(&fontDir, &family)) << "no font installed";
  ScopedEnv file("FONTCONFIG_FILE", OwnConfiguration(fontDir, family).c_str());
  ScopedEnv debug("FC_DEBUG", nullptr);
  ConfigPtr ours = Ours();
  ConfigPtr theirs = Fontconfigs();
  ASSERT_TRUE(ours);
  ASSERT_TRUE(theirs);
  EXPECT_EQ(FontFiles(ours.get()), FontFiles(theirs.get()));
  EXPECT_EQ(Family(ours.get(), "Orvane Test Face"), family);
  EXPECT_NE(Match(ours.get(), "Orvane Test Face").find(":hintstyle=3"), std::string::npos)
      << Match(ours.get(), "Orvane Test Face");
  EXPECT_EQ(Match(ours.get(), "Orvane Test Face"), Match(theirs.get(), "Orvane Test Face"));
}

// Where fontconfig's own start-up does something this path would not, it is
// left to fontconfig.
TEST_F(FontSetupFiles, LeavesToFontconfigWhatOnlyItsStartUpDoes) {
  std::string fontDir, family;
  ASSERT_TRUE(SomeInstalledFont(&fontDir, &family)) << "no font installed";
  const std::string good = OwnConfiguration(fontDir, family);
  struct Case {
    const char* what;
    std::string file;
    const char* debug;
  };
  const Case cases[] = {
      {"a configuration file that is not there", (dir_ / "missing.conf").string(), nullptr},
      {"a configuration that is not well-formed",
       Write("broken.conf",
             "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" + fontDir + "</dir>\n"),
       nullptr},
      {"a configuration naming no cache folder",
       Write("nocache.conf",
             "<?xml version=\"1.0\"?>\n<fontconfig><dir>" + fontDir + "</dir></fontconfig>\n"),
       nullptr},
      {"FC_DEBUG asking for fontconfig's start-up report", good, "1"},
  };
  // The control: the same good file without FC_DEBUG is read here.
  {
    ScopedEnv file("FONTCONFIG_FILE", good.c_str());
    ScopedEnv debug("FC_DEBUG", nullptr);
    EXPECT_TRUE(Ours());
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedEnv file("FONTCONFIG_FILE", c.file.c_str());
    ScopedEnv debug("FC_DEBUG", c.debug);
    EXPECT_FALSE(Ours());
  }
}

// A missing configuration file is fontconfig's to report, once, when its own
// start-up runs; trying first must not add a second report.
TEST_F(FontSetupFiles, SaysNothingAboutAMissingConfigurationFile) {
  ScopedEnv file("FONTCONFIG_FILE", (dir_ / "missing.conf").string().c_str());
  ::testing::internal::CaptureStderr();
  const bool loaded = static_cast<bool>(Ours());
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(loaded);
  EXPECT_EQ(said, "");
}

// The process-wide current configuration is only set in a child process, so
// the cases stay independent however the tests are run.
TEST(FontSetupDeathTest, FontconfigsOwnStartUpKeepsThePreparedConfiguration) {
  EXPECT_EXIT(
      {
        unsetenv("FONTCONFIG_FILE");
        unsetenv("FC_DEBUG");
        if (!PrepareFontConfiguration()) std::_Exit(2);
        FcConfig* prepared = FcConfigGetCurrent();
        if (!FcInit()) std::_Exit(3);
        if (FcConfigGetCurrent() != prepared) std::_Exit(4);
        ConfigPtr theirs = Fontconfigs();
        if (FontFiles(prepared) != FontFiles(theirs.get())) std::_Exit(5);
        if (Match(prepared, "sans-serif") != Match(theirs.get(), "sans-serif")) std::_Exit(6);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(FontSetupFiles, WhenItCannotPrepareFontconfigStillStartsOnItsOwn) {
  std::string fontDir, family;
  ASSERT_TRUE(SomeInstalledFont(&fontDir, &family)) << "no font installed";
  const std::string good = OwnConfiguration(fontDir, family);
  const std::string missing = (dir_ / "missing.conf").string();
  EXPECT_EXIT(
      {
        setenv("FONTCONFIG_FILE", missing.c_str(), 1);
        unsetenv("FC_DEBUG");
        if (PrepareFontConfiguration()) std::_Exit(2);
        // Nothing was left current: fontconfig's own start-up, run now, reads
        // the file named now.
        setenv("FONTCONFIG_FILE", good.c_str(), 1);
        if (!FcInit()) std::_Exit(3);
        if (Family(FcConfigGetCurrent(), "Orvane Test Face") != family) std::_Exit(4);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace orvane

#include <gtest/gtest.h>

#include "desktop/shortcuts.h"
#include "tests/desktop/desktop_test_support.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

class DesktopFolderTest : public testing::Test {
 protected:
  test::TempFolder root_;
  fs::path home_ = root_.Path() / "home";
  fs::path config_ = root_.Path() / "config";
  test::ScopedEnv homeVariable_{"HOME", home_.c_str()};
  test::ScopedEnv configVariable_{"XDG_CONFIG_HOME", config_.c_str()};
};

TEST_F(DesktopFolderTest, FollowsUserDirsFileOrFallsBackToDesktop) {
  fs::create_directories(config_);
  const struct {
    const char* file;
    fs::path expected;
  } cases[] = {
      {nullptr, home_ / "Desktop"},
      {"XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", home_ / "Schreibtisch"},
      {"XDG_DESKTOP_DIR=\"/srv/desk top\"\n", "/srv/desk top"},
      {"XDG_DESKTOP_DIR=\"$HOME\"\n", home_},
      {"XDG_DESKTOP_DIR=\"$HOME/My \\\"Desk\\\" \\$x\"\n", home_ / "My \"Desk\" $x"},
      {"# XDG_DESKTOP_DIR=\"/wrong\"\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
       "  XDG_DESKTOP_DIR = \"$HOME/Bureau\"\n",
       home_ / "Bureau"},
      {"XDG_DESKTOP_DIR=\"$HOME/first\"\nXDG_DESKTOP_DIR=\"$HOME/second\"\n", home_ / "second"},
      {"XDG_DESKTOP_DIR=\"Desk\"\n", home_ / "Desktop"},
      {"XDG_DESKTOP_DIR=$HOME/Desk\n", home_ / "Desktop"},
      {"XDG_DESKTOP_DIR=\"$HOME/unterminated\n", home_ / "Desktop"},
      {"XDG_DESKTOP_DIR_OLD=\"$HOME/old\"\n", home_ / "Desktop"},
      {"XDG_DESKTOP_DIR=\"$HOMEX/desk\"\n", home_ / "Desktop"},
  };
  for (const auto& c : cases) {
    fs::remove(config_ / "user-dirs.dirs");
    if (c.file != nullptr) test::WriteText(config_ / "user-dirs.dirs", c.file);
    EXPECT_EQ(DesktopFolder(), c.expected) << (c.file ? c.file : "(no file)");
  }
}

TEST_F(DesktopFolderTest, ConfigHomeDefaultsToDotConfigAndMustBeAbsolute) {
  fs::create_directories(home_ / ".config");
  test::WriteText(home_ / ".config" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n");
  {
    test::ScopedEnv unset("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(DesktopFolder(), home_ / "Escritorio");
  }
  {
    test::ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(DesktopFolder(), home_ / "Escritorio");
  }
}

}  // namespace
}  // namespace orvane

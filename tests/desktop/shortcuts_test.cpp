#include <gtest/gtest.h>

#include "desktop/shortcuts.h"
#include "tests/desktop/desktop_test_support.h"
#include "tests/support/shell_link_reader.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using test::Names;
using test::ReadBytes;

// The Linux program in English: UTF-8, else Windows-1252.
constexpr PcCodePage kPc{kCodePageWindows1252, true};
const std::string kSetup = "Setup My Orvane - FILER.lnk";
const std::string kAccess = "Access My Orvane - FILER.lnk";

// A sandbox: the desktop is <root>/Desktop, with a neighbour folder beside it,
// so a write that escapes the desktop shows up in a snapshot of <root>.
class ShortcutsTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(desktop_);
    fs::create_directory(root_.Path() / "outside");
  }
  ShellLinkRecord Read(const std::string& name) {
    const auto record = ReadShellLinkRecord(ReadBytes(desktop_ / name));
    EXPECT_TRUE(record.has_value()) << name;
    return record.value_or(ShellLinkRecord{});
  }

  test::TempFolder root_;
  fs::path desktop_ = root_.Path() / "Desktop";
};

TEST_F(ShortcutsTest, WritesTheTwoShortcutsOfTheTable) {
  const DesktopResult result = CreateShortcutsIn(desktop_, "192.168.1.20", "FILER", kPc);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(Names(desktop_), (std::vector<std::string>{kAccess, kSetup}));

  const ShellLinkRecord setup = Read(kSetup);
  EXPECT_EQ(setup.link.target, "http://192.168.1.20");
  EXPECT_EQ(setup.link.description, "IP=192.168.1.20 , Manage your Orvane");
  EXPECT_EQ(setup.link.iconPath, "SHELL32.dll");
  EXPECT_EQ(setup.link.iconIndex, 15);
  EXPECT_EQ(setup.networkPath, "");

  const ShellLinkRecord access = Read(kAccess);
  EXPECT_EQ(access.link.target, "\\\\192.168.1.20");
  EXPECT_EQ(access.networkPath, "\\\\192.168.1.20");
  EXPECT_EQ(access.link.description, "IP=192.168.1.20 , Access your Orvane");
  EXPECT_EQ(access.link.iconPath, "SHELL32.dll");
  EXPECT_EQ(access.link.iconIndex, 9);

  for (const ShellLinkRecord* record : {&setup, &access}) {
    EXPECT_EQ(record->link.workingDirectory, desktop_.string());
    EXPECT_EQ(record->link.showCommand, 1u);
    EXPECT_EQ(record->link.hotKey, 0);
  }
}

TEST_F(ShortcutsTest, LnkinfoReadsTheSameValues) {
  if (test::LnkinfoPath().empty()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  // A blank at both ends of the address: trimmed in the targets, kept in the
  // descriptions.
  ASSERT_TRUE(CreateShortcutsIn(desktop_, " 192.168.1.20 ", "FILER", kPc).ok);
  const struct {
    const std::string& file;
    const char* description;
    const char* iconIndex;
    const char* target;
  } expected[] = {
      {kSetup, "IP= 192.168.1.20  , Manage your Orvane", "15", "http://192.168.1.20"},
      {kAccess, "IP= 192.168.1.20  , Access your Orvane", "9", "\\\\192.168.1.20"},
  };
  for (const auto& e : expected) {
    const auto info = test::Lnkinfo(desktop_ / e.file);
    ASSERT_FALSE(info.empty()) << "lnkinfo could not read " << e.file;
    EXPECT_EQ(info.at("Description"), e.description);
    EXPECT_EQ(info.at("Working directory"), desktop_.string());
    EXPECT_EQ(info.at("Icon location"), "SHELL32.dll");
    EXPECT_EQ(info.at("Icon index"), e.iconIndex);
    EXPECT_EQ(info.at("Hot Key value"), "0");
    EXPECT_EQ(info.at("Environment variables location"), e.target);
    // This lnkinfo prints the file size as "Show Window value", so the show
    // command is read from the header: bytes 0x3C..0x3F.
    const auto bytes = ReadBytes(desktop_ / e.file);
    ASSERT_GE(bytes.size(), 0x4Cu);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + 0x3C, bytes.begin() + 0x40)),
              (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(bytes[0x40], 0);  // HotKey
    EXPECT_EQ(bytes[0x41], 0);
  }
  EXPECT_EQ(test::Lnkinfo(desktop_ / kAccess).at("Network path"), "\\\\192.168.1.20");
  EXPECT_EQ(test::Lnkinfo(desktop_ / kSetup).count("Network path"), 0u);
}

TEST_F(ShortcutsTest, TrailingBlankStaysInTheDescriptionAndLeavesTheTarget) {
  ASSERT_TRUE(CreateShortcutsIn(desktop_, "192.168.1.20 ", "FILER", kPc).ok);
  EXPECT_EQ(Read(kSetup).link.target, "http://192.168.1.20");
  EXPECT_EQ(Read(kSetup).link.description, "IP=192.168.1.20  , Manage your Orvane");
  EXPECT_EQ(Read(kAccess).link.target, "\\\\192.168.1.20");
  EXPECT_EQ(Read(kAccess).link.description, "IP=192.168.1.20  , Access your Orvane");
}

TEST_F(ShortcutsTest, SecondRunForTheSameHostReplacesTheFiles) {
  ASSERT_TRUE(CreateShortcutsIn(desktop_, "192.168.1.20", "FILER", kPc).ok);
  ASSERT_TRUE(CreateShortcutsIn(desktop_, "10.0.0.7", "FILER", kPc).ok);
  EXPECT_EQ(Names(desktop_), (std::vector<std::string>{kAccess, kSetup}));
  EXPECT_EQ(Read(kSetup).link.target, "http://10.0.0.7");
  EXPECT_EQ(Read(kAccess).link.target, "\\\\10.0.0.7");
}

TEST_F(ShortcutsTest, TwoHostsGiveFourFiles) {
  ASSERT_TRUE(CreateShortcutsIn(desktop_, "192.168.1.20", "FILER", kPc).ok);
  ASSERT_TRUE(CreateShortcutsIn(desktop_, "192.168.1.21", "BACKUP", kPc).ok);
  EXPECT_EQ(Names(desktop_), (std::vector<std::string>{"Access My Orvane - BACKUP.lnk", kAccess,
                                                       "Setup My Orvane - BACKUP.lnk", kSetup}));
  EXPECT_EQ(Read(kSetup).link.target, "http://192.168.1.20");
  EXPECT_EQ(Read("Setup My Orvane - BACKUP.lnk").link.target, "http://192.168.1.21");
}

TEST_F(ShortcutsTest, HostileHostNamesWriteNothingAnywhere) {
  // Shortcuts of real hosts that a cleaned name could collide with.
  for (const char* host : {"FILER", "x", "a_b", "CON_", "x_"}) {
    ASSERT_TRUE(CreateShortcutsIn(desktop_, "192.168.1.20", host, kPc).ok) << host;
  }
  const auto before = test::Snapshot(root_.Path());
  const std::string hostile[] = {"../x",
                                 "a/b",
                                 "a\\b",
                                 "../../../../tmp/evil",
                                 "/etc/x",
                                 std::string(300, 'A'),
                                 std::string(255 - 22, 'A'),  // one byte too long with the prefix
                                 "a\nb",
                                 std::string("a\0b", 3),
                                 "\x1B[31mred",
                                 "\xE2\x80\xAEknl",  // right-to-left override
                                 "a:b",
                                 "a*b",
                                 "a|b"};
  for (const std::string& host : hostile) {
    const DesktopResult result = CreateShortcutsIn(desktop_, "192.168.1.20", host, kPc);
    EXPECT_FALSE(result.ok) << testing::PrintToString(host);
    EXPECT_NE(result.error.find("file name made from the device's host name"), std::string::npos)
        << result.error;
    EXPECT_EQ(test::Snapshot(root_.Path()), before) << testing::PrintToString(host);
  }
}

TEST_F(ShortcutsTest, HostNamesThatMakeValidFileNamesAreWrittenAsTheListShowsThem) {
  // Each is refused alone as a file name, yet the composed name is valid.
  const struct {
    std::string host;
    std::string shown;
  } cases[] = {{"", ""},
               {"CON", "CON"},
               {"com1", "com1"},
               {"x.", "x."},
               {"x ", "x "},
               {".", "."},
               {"..", ".."},
               {"LPT1.txt", "LPT1.txt"},
               {"B\xDCRO", "B\xC3\x9CRO"},  // Windows-1252 "B\u00DCRO"
               {"B\xC3\x9CRO", "B\xC3\x9CRO"},
               {"\x80uro", "\xE2\x82\xACuro"},
               {std::string(255 - 23, 'A'), std::string(255 - 23, 'A')}};
  for (const auto& c : cases) {
    for (const auto& entry : fs::directory_iterator(desktop_)) fs::remove(entry.path());
    const DesktopResult result = CreateShortcutsIn(desktop_, "192.168.1.20", c.host, kPc);
    ASSERT_TRUE(result.ok) << testing::PrintToString(c.host) << result.error;
    EXPECT_EQ(Names(desktop_), (std::vector<std::string>{"Access My Orvane - " + c.shown + ".lnk",
                                                         "Setup My Orvane - " + c.shown + ".lnk"}))
        << testing::PrintToString(c.host);
  }
}

TEST_F(ShortcutsTest, PlantedSymbolicLinkIsReplacedNotFollowed) {
  const fs::path victim = root_.Path() / "outside" / "victim";
  test::WriteText(victim, "precious");
  fs::create_symlink(victim, desktop_ / kSetup);
  ASSERT_TRUE(CreateShortcutsIn(desktop_, "192.168.1.20", "FILER", kPc).ok);
  EXPECT_FALSE(fs::is_symlink(desktop_ / kSetup));
  EXPECT_EQ(Read(kSetup).link.target, "http://192.168.1.20");
  const auto victimBytes = ReadBytes(victim);
  EXPECT_EQ(std::string(victimBytes.begin(), victimBytes.end()), "precious");
}

TEST_F(ShortcutsTest, FailureOfTheFirstShortcutStopsTheSecond) {
  fs::create_directory(desktop_ / kSetup);  // a folder where the file must go
  const DesktopResult result = CreateShortcutsIn(desktop_, "192.168.1.20", "FILER", kPc);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find(kSetup), std::string::npos) << result.error;
  EXPECT_FALSE(fs::exists(desktop_ / kAccess));
  EXPECT_EQ(Names(desktop_), std::vector<std::string>{kSetup});  // no temporary file left
}

TEST_F(ShortcutsTest, MissingDesktopFolderIsReportedAndToldApartFromABrokenOne) {
  test::WriteText(desktop_ / "file", "");
  for (const auto& [folder, none] :
       {std::pair{desktop_ / "gone", true}, {desktop_ / "file", false}}) {
    const DesktopResult result = CreateShortcutsIn(folder, "192.168.1.20", "FILER", kPc);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.noDesktop, none) << folder;
    EXPECT_NE(result.error.find("does not exist"), std::string::npos) << result.error;
  }
}

TEST_F(ShortcutsTest, OverlongAddressIsReportedNotTruncated) {
  const DesktopResult result = CreateShortcutsIn(desktop_, std::string(300, '1'), "FILER", kPc);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("address is too long"), std::string::npos) << result.error;
  EXPECT_TRUE(Names(desktop_).empty());
}

TEST_F(ShortcutsTest, AddressBytesThatAreNotUtf8ShowAsReplacementCharacters) {
  ASSERT_TRUE(CreateShortcutsIn(desktop_, "10.0.0.\xFF", "FILER", kPc).ok);
  EXPECT_EQ(Read(kSetup).link.target, "http://10.0.0.\xEF\xBF\xBD");
  EXPECT_EQ(Read(kAccess).link.description, "IP=10.0.0.\xEF\xBF\xBD , Access your Orvane");
}

TEST_F(ShortcutsTest, CreateShortcutsUsesTheXdgDesktopFolder) {
  const fs::path home = root_.Path() / "home";
  const fs::path config = root_.Path() / "config";
  fs::create_directories(home / "Schreibtisch");
  fs::create_directories(config);
  test::WriteText(config / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  test::ScopedEnv homeVariable("HOME", home.c_str());
  test::ScopedEnv configVariable("XDG_CONFIG_HOME", config.c_str());
  ASSERT_TRUE(CreateShortcuts("192.168.1.20", "FILER", kPc).ok);
  EXPECT_EQ(Names(home / "Schreibtisch"), (std::vector<std::string>{kAccess, kSetup}));
  const auto record = ReadShellLinkRecord(ReadBytes(home / "Schreibtisch" / kSetup));
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->link.workingDirectory, (home / "Schreibtisch").string());
}

}  // namespace
}  // namespace orvane

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "desktop/shortcuts.h"
#include "tests/desktop/desktop_test_support.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

struct Launch {
  long pid = 0;
  std::vector<std::string> argv;  // the arguments after argv[0]
};

// A stand-in for xdg-open in a folder that becomes the whole PATH, so no real
// browser or file manager can start. Each run writes its arguments, one per
// line, to launches/<pid> (through a temporary name, so a file is complete when
// it appears). The pid orders the launches: OpenShortcutTargets starts the
// second only after the first has been exec'd, so the first got the lower pid.
class OpenTargetsTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(bin_);
    fs::create_directories(launches_);
    WriteScript(bin_ / "xdg-open",
                "#!/bin/sh\n"
                "PATH=/usr/bin:/bin\n"
                "out='" +
                    launches_.string() +
                    "'\n"
                    "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out/.$$\"\n"
                    "mv \"$out/.$$\" \"$out/$$\"\n");
  }

  static void WriteScript(const fs::path& file, const std::string& text) {
    test::WriteText(file, text);
    ::chmod(file.c_str(), 0755);
  }

  // Waits (up to 10 s) for `count` launches and returns them in pid order.
  std::vector<Launch> WaitForLaunches(std::size_t count) {
    std::vector<Launch> launches;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      launches.clear();
      for (const auto& entry : fs::directory_iterator(launches_)) {
        const std::string name = entry.path().filename().string();
        if (name[0] == '.') continue;
        Launch launch{std::stol(name), {}};
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) launch.argv.push_back(line);
        launches.push_back(launch);
      }
      if (launches.size() >= count) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::sort(launches.begin(), launches.end(),
              [](const Launch& a, const Launch& b) { return a.pid < b.pid; });
    return launches;
  }

  test::TempFolder root_;
  fs::path bin_ = root_.Path() / "bin";
  fs::path launches_ = root_.Path() / "launches";
  test::ScopedEnv path_{"PATH", bin_.c_str()};
};

TEST_F(OpenTargetsTest, OpensSharedFoldersThenWebPage) {
  const DesktopResult result = OpenShortcutTargets("192.168.1.20");
  ASSERT_TRUE(result.ok) << result.error;
  const auto launches = WaitForLaunches(2);
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[0].argv, std::vector<std::string>{"smb://192.168.1.20/"});
  EXPECT_EQ(launches[1].argv, std::vector<std::string>{"http://192.168.1.20"});
}

TEST_F(OpenTargetsTest, AddressIsTrimmedForTheUrls) {
  ASSERT_TRUE(OpenShortcutTargets("  192.168.1.20 ").ok);
  const auto launches = WaitForLaunches(2);
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[0].argv, std::vector<std::string>{"smb://192.168.1.20/"});
  EXPECT_EQ(launches[1].argv, std::vector<std::string>{"http://192.168.1.20"});
}

TEST_F(OpenTargetsTest, HostileAddressIsOneArgumentAndRunsNothing) {
  const fs::path pwned = root_.Path() / "pwned";
  const std::string address = "1.2.3.4; touch " + pwned.string() + " $(touch " + pwned.string() +
                              "2) `touch " + pwned.string() + "3` | touch " + pwned.string() + "4";
  ASSERT_TRUE(OpenShortcutTargets(address).ok);
  const auto launches = WaitForLaunches(2);
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[0].argv, std::vector<std::string>{"smb://" + address + "/"});
  EXPECT_EQ(launches[1].argv, std::vector<std::string>{"http://" + address});
  for (const char* suffix : {"", "2", "3", "4"}) {
    EXPECT_FALSE(fs::exists(pwned.string() + suffix)) << suffix;
  }
}

TEST_F(OpenTargetsTest, MissingOpenerIsReported) {
  fs::remove(bin_ / "xdg-open");
  const DesktopResult result = OpenShortcutTargets("192.168.1.20");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("xdg-open"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find("not found"), std::string::npos) << result.error;
}

TEST_F(OpenTargetsTest, OpenerThatIsNotExecutableOrOnlyRelativeIsNotUsed) {
  ::chmod((bin_ / "xdg-open").c_str(), 0644);
  EXPECT_FALSE(OpenShortcutTargets("192.168.1.20").ok);
  // A relative PATH entry would find an opener in the current folder.
  ::chmod((bin_ / "xdg-open").c_str(), 0755);
  const fs::path previous = fs::current_path();
  fs::current_path(root_.Path());
  test::ScopedEnv relative("PATH", "bin");
  const DesktopResult result = OpenShortcutTargets("192.168.1.20");
  fs::current_path(previous);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(fs::is_empty(launches_));
}

TEST_F(OpenTargetsTest, OpenerThatCannotStartIsReported) {
  WriteScript(bin_ / "xdg-open", "#!/nonexistent/interpreter\n");
  const DesktopResult result = OpenShortcutTargets("192.168.1.20");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("shared folders"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find("could not be started"), std::string::npos) << result.error;
}

}  // namespace
}  // namespace orvane

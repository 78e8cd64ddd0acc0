// The simulator's command line, its log line format and its refusal to run in
// the machine's own network namespace (checked on a fake /proc tree).

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tools/devsim/devsim_host.h"
#include "tools/devsim/devsim_log.h"
#include "tools/devsim/devsim_options.h"

namespace orvane::devsim {
namespace {

ParseResult Parse(std::vector<std::string> args) {
  return ParseOptions(args);
}

TEST(DevsimOptions, NoOptionsGiveOneDefaultDevice) {
  const ParseResult r = Parse({});
  ASSERT_EQ(r.error, "");
  ASSERT_EQ(r.options.devices.size(), 1u);
  const DeviceBehaviour& d = r.options.devices[0];
  EXPECT_EQ(d.facts.identity, "00:0A:1B:2C:3D:4E");
  EXPECT_EQ(d.userName, "vexil");
  EXPECT_EQ(d.password, "vexil");
  EXPECT_EQ(d.replyTarget, ReplyTarget::kBroadcast);
  EXPECT_EQ(r.options.lifetimeSeconds, 300);
  EXPECT_FALSE(r.options.allowRootNetns);
}

TEST(DevsimOptions, DeviceBlocksSplitTheOptions) {
  const ParseResult r =
      Parse({"--log", "/tmp/x.log", "--host", "ONE", "--apply", "--device", "--id",
             "AA:BB:CC:DD:EE:FF", "--host=TWO", "--silent", "discovery", "--lifetime", "5",
             "--device", "--no-disk", "--reply-to", "10.1.2.3"});
  ASSERT_EQ(r.error, "");
  ASSERT_EQ(r.options.devices.size(), 3u);
  EXPECT_EQ(r.options.logPath, "/tmp/x.log");
  EXPECT_EQ(r.options.lifetimeSeconds, 5);
  const auto& d = r.options.devices;
  EXPECT_EQ(d[0].facts.hostName, "ONE");
  EXPECT_TRUE(d[0].apply);
  EXPECT_EQ(d[1].facts.identity, "AA:BB:CC:DD:EE:FF");
  EXPECT_EQ(d[1].facts.hostName, "TWO");
  EXPECT_FALSE(d[1].apply);
  EXPECT_TRUE(d[1].silentDiscovery);
  EXPECT_FALSE(d[1].silentConfig);
  EXPECT_FALSE(d[2].facts.hasDisk);
  EXPECT_EQ(d[2].replyTarget, ReplyTarget::kAddress);
  EXPECT_EQ(d[2].replyAddress, "10.1.2.3");
}

TEST(DevsimOptions, SwitchesSetTheirOwnDeviceOnly) {
  const std::vector<std::pair<std::string, bool DeviceBehaviour::*>> switches = {
      {"--apply", &DeviceBehaviour::apply},
      {"--lose-config-reply", &DeviceBehaviour::loseConfigReply}};
  for (const auto& [option, flag] : switches) {
    const auto d = Parse({"--host", "A", "--device", option, "--device"}).options.devices;
    ASSERT_EQ(d.size(), 3u) << option;
    EXPECT_TRUE(!(d[0].*flag) && d[1].*flag && !(d[2].*flag)) << option;
  }
}

TEST(DevsimOptions, DelaysRawTextsAndCounts) {
  const ParseResult r = Parse({"--delay", "250", "--config-delay", "40", "--discovery-raw",
                               "0C01R\\xff\\x00", "--config-raw", "", "--junk", "3", "--repeat",
                               "2", "--silent", "all", "--password", "p\\x3bw"});
  ASSERT_EQ(r.error, "");
  const DeviceBehaviour& d = r.options.devices[0];
  EXPECT_EQ(d.discoveryDelayMs, 250);
  EXPECT_EQ(d.configDelayMs, 40);
  EXPECT_EQ(d.discoveryRaw, std::string("0C01R\xff\x00", 7));
  EXPECT_EQ(d.configRaw, std::string());
  EXPECT_EQ(d.junkCount, 3);
  EXPECT_EQ(d.repeat, 2);
  EXPECT_TRUE(d.silentDiscovery && d.silentConfig);
  EXPECT_EQ(d.password, "p;w");
}

TEST(DevsimOptions, RejectsBadInput) {
  const std::vector<std::vector<std::string>> bad = {
      {"--id", "00:0A:1B:2C:3D:4"},    // 16 bytes
      {"--id", "00:0A:1B:2C:3D:4E:"},  // 18 bytes
      {"--delay", "-1"},
      {"--delay", "12ms"},
      {"--lifetime", "0"},
      {"--silent", "sometimes"},
      {"--reply-to", "300.1.1.1"},
      {"--host", "bad\\q"},
      {"--junk"},  // value missing
      {"--frobnicate"},
  };
  for (const auto& args : bad) {
    EXPECT_NE(Parse(args).error, "") << args[0] << " " << (args.size() > 1 ? args[1] : "");
  }
  // The identity counts bytes after escapes: 17 escaped bytes are fine.
  EXPECT_EQ(Parse({"--id", "\\xff0:0A:1B:2C:3D:4E"}).error, "");
}

TEST(DevsimLogFormat, WritesHexAndAnEscapedPrintableForm) {
  EXPECT_EQ(HexOf(std::string("0C01S")), "3043303153");
  EXPECT_EQ(HexOf(std::string("\x00\xff", 2)), "00ff");
  EXPECT_EQ(HexOf(""), "");
  EXPECT_EQ(PrintableOf(std::string("a\"b\\c\x01\xe4 ", 8)), "a\\x22b\\x5cc\\x01\\xe4 ");
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(12310);
  inet_pton(AF_INET, "192.168.50.10", &addr.sin_addr);
  EXPECT_EQ(EndpointOf(addr), "192.168.50.10:12310");
}

TEST(DevsimLogFile, AppendsOneWholeLinePerDatagram) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("devsim-log-" + std::to_string(getpid()));
  {
    DatagramLog log;
    ASSERT_TRUE(log.Open(path.string()));
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_port = htons(40000);
    inet_pton(AF_INET, "10.0.0.1", &from.sin_addr);
    log.Received(from, std::string("0C01S"));
    log.Event("READY", "x");
  }
  std::ifstream in(path);
  std::string first, second;
  std::getline(in, first);
  std::getline(in, second);
  std::filesystem::remove(path);
  EXPECT_NE(first.find(" RECV from=10.0.0.1:40000 len=5 hex=3043303153 text=\"0C01S\""),
            std::string::npos)
      << first;
  EXPECT_EQ(first.rfind("t=0.", 0), 0u) << first;
  EXPECT_NE(second.find(" READY x"), std::string::npos) << second;
}

// A fake /proc: self/ns/net, 1/ns/net and 2/ns/net are plain files; "the same
// namespace" is a hard link, as two links to one nsfs inode would be.
class FakeProc : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("devsim-proc-" + std::to_string(getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    for (const char* dir : {"self/ns", "1/ns", "2/ns", "other"}) {
      std::filesystem::create_directories(root_ / dir);
    }
    std::ofstream(root_ / "self/ns/net") << "self";
    std::ofstream(root_ / "other/net") << "other";
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  void Link(const char* target, const char* name) {
    std::filesystem::create_hard_link(root_ / target, root_ / name);
  }
  void Comm(const char* pid, const char* text) {
    std::ofstream(root_ / pid / "comm") << text << "\n";
  }
  bool InMachine() { return InMachineNetNamespace(root_.string()); }

  std::filesystem::path root_;
};

TEST_F(FakeProc, SameAsProcessOneIsTheMachinesNamespace) {
  Link("self/ns/net", "1/ns/net");
  EXPECT_EQ(CompareNamespaces((root_ / "self/ns/net").string(), (root_ / "1/ns/net").string()),
            NamespaceCheck::kSame);
  EXPECT_TRUE(InMachine());
}

TEST_F(FakeProc, DifferentFromProcessOneIsALabNamespace) {
  Link("other/net", "1/ns/net");
  EXPECT_FALSE(InMachine());
}

TEST_F(FakeProc, UnreadableProcessOneFallsBackToKthreadd) {
  Comm("2", "kthreadd");
  Link("self/ns/net", "2/ns/net");
  EXPECT_TRUE(InMachine());
}

TEST_F(FakeProc, KthreaddInAnotherNamespaceMeansALab) {
  Comm("2", "kthreadd");
  Link("other/net", "2/ns/net");
  EXPECT_FALSE(InMachine());
}

TEST_F(FakeProc, ProcessTwoCountsOnlyWhenItIsKthreadd) {
  Comm("2", "bash");
  Link("other/net", "2/ns/net");
  EXPECT_TRUE(InMachine());  // nothing to compare with: refuse
}

TEST_F(FakeProc, NothingReadableMeansRefuse) {
  EXPECT_TRUE(InMachine());
}

}  // namespace
}  // namespace orvane::devsim

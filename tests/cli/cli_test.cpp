// The command line's parts: its arguments, its output, its exit codes, the
// device match, its loop (on loopback), and runs of the engine through its
// front end on the fake world.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_front_end.h"
#include "cli/command_line.h"
#include "cli/device_output.h"
#include "cli/poll_loop.h"
#include "cli/program.h"
#include "cli/terminal_text.h"
#include "device/codec.h"
#include "hostnet/broadcast_sender.h"
#include "tests/device/sample_replies.h"
#include "tests/support/fake_world.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Args = std::vector<std::string>;

TEST(CommandLine, ReadsWhatEachCommandTakesAndNamesWhatIsWrong) {
  struct Case {
    Args args;
    std::string error;  // a part of it; empty: accepted
  };
  const Case cases[] = {
      {{"list"}, ""},
      {{"list", "--json", "--wait", "10"}, ""},
      {{"configure", "FILER2", "--address", "auto", "--user", "vexil", "--password-stdin", "--yes",
        "--open"},
       ""},
      {{"shortcuts", "192.168.50.20", "--open"}, ""},
      {{"check", "--json"}, ""},
      {{}, "no command"},
      {{"scan"}, "unknown command 'scan'"},
      {{"list", "FILER1"}, "'list' takes no device"},
      {{"list", "--yes"}, "'list' takes no --yes"},
      {{"list", "--wait"}, "--wait needs a value"},
      {{"list", "--wait", "0"}, "1 to 600"},
      {{"list", "--wait", "601"}, "1 to 600"},
      {{"list", "--wait", "3s"}, "1 to 600"},
      {{"configure"}, "needs a device"},
      {{"configure", "A", "B"}, "more than one device"},
      {{"configure", "A", "--address", "192.168.1.255"}, "D from 1 to 254"},
      {{"configure", "A", "--address", "192.168.1.0"}, "D from 1 to 254"},
      {{"configure", "A", "--address", "192.168.1"}, "D from 1 to 254"},
      {{"configure", "A", "--user", ""}, "--user needs a name"},
      {{"configure", "A", "--password", "secret"}, "never taken on the command line"},
      {{"configure", "A", "--password=secret"}, "never taken on the command line"},
      {{"shortcuts", "A", "--json"}, "'shortcuts' takes no --json"},
  };
  for (const Case& c : cases) {
    const ParsedArguments parsed = ParseArguments(c.args);
    const std::string line = ::testing::PrintToString(c.args);
    if (c.error.empty()) {
      EXPECT_TRUE(parsed.invocation) << line << ": " << parsed.error;
    } else {
      EXPECT_FALSE(parsed.invocation) << line;
      EXPECT_NE(parsed.error.find(c.error), std::string::npos) << line << ": " << parsed.error;
    }
  }
  const Invocation configure =
      *ParseArguments({"configure", "FILER2", "--address", "192.168.1.77", "--address", "auto",
                       "--user", "admin", "--yes", "--wait", "7"})
           .invocation;
  EXPECT_EQ(configure.command, Command::Configure);
  EXPECT_EQ(configure.device, "FILER2");
  EXPECT_FALSE(configure.address) << "the last --address counts";
  EXPECT_EQ(configure.user, "admin");
  EXPECT_TRUE(configure.yes);
  EXPECT_FALSE(configure.passwordStdin);
  EXPECT_EQ(configure.wait, 7s);
  EXPECT_EQ(ParseArguments({"list"}).invocation->wait, 3s);
  EXPECT_EQ(ParseArguments({"configure", "A", "--address", "10.0.0.9"}).invocation->address,
            "10.0.0.9");
}

TEST(Output, JsonIsStrictAndKeepsEveryByteInHexAndTheTableIsTheListsCells) {
  const std::pair<std::string, std::string> strings[] = {
      {"FILER1", R"("FILER1")"},
      {"a\"b\\c", R"("a\"b\\c")"},
      {std::string("t\tn\x01\x7f", 5), R"("t\u0009n\u0001\u007f")"},
      {"\xe4\xb8\x80", "\"\xe4\xb8\x80\""},          // valid UTF-8 stands as it is
      {"NAS\xe9", "\"NAS\xef\xbf\xbd\""},            // U+FFFD for a byte that is not UTF-8
      {"\xe4\xb8", "\"\xef\xbf\xbd\xef\xbf\xbd\""},  // a sequence cut short
      {"\xed\xb3\xa9", "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""},  // an encoded surrogate
      {std::string("a\0b", 3), R"("a\u0000b")"},
      {"\xc2\x9d\xe2\x80\xae\xe2\x80\xa8", R"("\u009d\u202e\u2028")"},
  };
  for (const auto& [bytes, json] : strings) EXPECT_EQ(JsonString(bytes), json) << json;
  EXPECT_EQ(HexBytes(std::string("N\xe9\x00\x9d\xff", 5)), "4ee9009dff");

  DeviceRecord filer;
  ASSERT_TRUE(ParseDiscoveryReply(test::kWorkedReply, filer));
  DeviceRecord latin;
  ASSERT_TRUE(ParseDiscoveryReply(test::MakeReply("00:0A:1B:2C:3D:99", "CAF\xc9", "W", ""), latin));
  const DeviceRow rows[] = {{&filer, true}, {&latin, false}};
  EXPECT_EQ(DeviceTableText(rows),
            "No.  Reachable?  Host Name  IP Address    HD Name           HD Capacity  "
            "HD Available  HD Used %\n"
            "0    Yes         FILER1     192.168.1.20  DISK-80G          80GB         76.9GB"
            "        9%\n"
            "1    No          CAF\xc3\x89       192.168.1.20  No HD Installed!               0"
            "             0\n");
  EXPECT_EQ(DeviceListJson(rows).substr(0, 2), "[\n");
  EXPECT_NE(
      DeviceListJson(rows).find(
          R"({"number": 0, "reachable": true, "identity": "00:0A:1B:2C:3D:4E", "identityHex": )"
          R"("30303a30413a31423a32433a33443a3445", "ipAddress": "192.168.1.20", "ipAddressHex": )"
          R"("3139322e3136382e312e3230", "netmask": "255.255.255.0", "netmaskHex": )"
          R"("3235352e3235352e3235352e30", "gateway": "192.168.1.1", "gatewayHex": )"
          R"("3139322e3136382e312e31", "hostName": "FILER1", "hostNameHex": "46494c455231", )"
          R"("workgroup": "WORKGROUP", "workgroupHex": "574f524b47524f5550", "hostNameFull": )"
          R"("FILER1", "hostNameFullHex": "46494c455231", "diskModel": "DISK-80G", )"
          R"("diskModelHex": "4449534b2d383047", "diskCapacity": 156301488, "diskTotal": )"
          R"(76900000, "diskAvailable": 70000000, "capacity": "80GB", "total": "76.9GB", )"
          R"("used": "9%"},)"),
      std::string::npos)
      << DeviceListJson(rows);
  EXPECT_NE(DeviceListJson(rows).find("\"hostName\": \"CAF\xef\xbf\xbd\", \"hostNameHex\": "
                                      "\"434146c9\""),
            std::string::npos);
  EXPECT_EQ(DeviceListJson({}), "[]\n");
}

TEST(TerminalText, ShowsWhatATerminalWouldObey) {
  const std::pair<std::string, std::string> cases[] = {
      {"FILER1", "FILER1"},
      {"NAS\xc3\xa9 \xe4\xb8\x80", "NAS\xc3\xa9 \xe4\xb8\x80"},  // UTF-8 letters stand
      {"NAS\xe9\x80", "NAS\xc3\xa9\xe2\x82\xac"},                // Windows-1252: é€
      {"\x1b]0;x\x07\x1b[2J", R"(\x1b]0;x\x07\x1b[2J)"},
      {"A\r\nB\tC\x7f", R"(A\x0d\x0aB\x09C\x7f)"},
      {std::string("a\0b", 3), R"(a\x00b)"},
      {"\xc2\x9b"
       "1m\xc2\x85",
       R"(\x9b1m\x85)"},  // C1 controls in UTF-8
      {"NAS\x9d\xe9\x81", R"(NAS\x9d)"
                          "\xc3\xa9"
                          R"(\x81)"},  // unassigned in Windows-1252
      {"\xe2\x80\xae"
       "exe.txt",
       R"(\u202eexe.txt)"},
      {"\xd8\x9c\xe2\x80\x8e\xe2\x80\x8f\xe2\x80\xaa\xe2\x81\xa6\xe2\x81\xa9\xe2\x80\xa8",
       R"(\u061c\u200e\u200f\u202a\u2066\u2069\u2028)"},
      {"\xe2\x80\x8d\xe2\x81\xaa", "\xe2\x80\x8d\xe2\x81\xaa"},  // neighbours of the ranges
  };
  // The Linux command line's code page, so the rows read the same on Windows.
  const PcCodePage pc{kCodePageWindows1252, true};
  for (const auto& [bytes, shown] : cases)
    EXPECT_EQ(TerminalText(bytes, pc), shown) << ::testing::PrintToString(bytes);
  // A Big5 byte that starts no character is shown as the byte, not as a letter.
  EXPECT_EQ(TerminalText("\xa4\xa4\x1b\xa4", {kCodePageBig5, true}), "中\\x1b\\xa4");
  EXPECT_EQ(TerminalLines("a\x1b\nb\r\n"), "a\\x1b\nb\\x0d\n");
}

TEST(ExitCodes, EachOutcomeAndTheTroubleBehindIt) {
  const LocalTrouble none;
  LocalTrouble port;
  port.portRefused = true;
  LocalTrouble send;
  send.sendFailed = true;
  LocalTrouble unsent;
  unsent.scanNotSent = true;
  LocalTrouble desk;
  desk.shortcutsFailed = true;
  struct Case {
    RunOutcome outcome;
    LocalTrouble trouble;
    std::optional<ExitCode> decision;
    ExitCode code;
  };
  const Case cases[] = {
      {RunOutcome::NoDevice, none, {}, ExitCode::NothingFound},
      {RunOutcome::NoDevice, port, {}, ExitCode::LocalNetwork},
      {RunOutcome::NoDevice, unsent, {}, ExitCode::LocalNetwork},
      {RunOutcome::NoDevice, send, {}, ExitCode::NothingFound},
      {RunOutcome::NoChoice, none, ExitCode::NothingFound, ExitCode::NothingFound},
      {RunOutcome::Cancelled, none, ExitCode::Usage, ExitCode::Usage},
      {RunOutcome::PcNotConfigured, none, {}, ExitCode::LocalNetwork},
      {RunOutcome::NoFreeAddress, none, {}, ExitCode::LocalNetwork},
      {RunOutcome::Configured, none, {}, ExitCode::Done},
      {RunOutcome::Configured, desk, {}, ExitCode::DeviceFailure},
      {RunOutcome::AlreadyReachable, none, {}, ExitCode::Done},
      {RunOutcome::Refused, none, {}, ExitCode::DeviceFailure},
      {RunOutcome::NoReply, none, {}, ExitCode::TimedOut},
      {RunOutcome::NoReply, send, {}, ExitCode::LocalNetwork},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExitCodeFor(c.outcome, c.trouble, c.decision), c.code) << int(c.outcome);
}

TEST(PollLoop, RunsTimersInOrderAndDeliversDatagramsOnlyWhileOpen) {
  PollLoop loop;
  std::vector<std::string> got;
  std::unique_ptr<ReplyReceiver> receiver;
  std::string error;
  // A free loopback port: the reply port may be taken on this machine.
  for (std::uint16_t port = 41310; port < 41410 && !(receiver && receiver->IsOpen()); ++port) {
    loop.SetReplyPort(port);
    receiver = loop.MakeReceiver();
    if (receiver->Open(error)) {
      receiver->onDatagram = [&](std::string_view d, const Arrival&) { got.emplace_back(d); };
      EXPECT_EQ(SendDatagramTo(std::string("0C01R\xff\0x", 8), "127.0.0.1", port, false).stage,
                SendOutcome::Stage::Sent);
      loop.RunOnce(1000ms);
      ASSERT_EQ(got, std::vector<std::string>{std::string("0C01R\xff\0x", 8)});
      receiver->Close();
      SendDatagramTo("after the close", "127.0.0.1", port, false);
      ASSERT_TRUE(receiver->Open(error));
      loop.RunOnce(50ms);
      EXPECT_EQ(got.size(), 1u) << "nothing queued before the close comes after it";
    }
  }
  ASSERT_TRUE(receiver && receiver->IsOpen()) << error;

  std::vector<int> fired;
  auto late = loop.MakeTimer();
  auto soon = loop.MakeTimer();
  auto stopped = loop.MakeTimer();
  late->Start(60ms, [&] { fired.push_back(60); });
  soon->Start(20ms, [&] { fired.push_back(20); });
  stopped->Start(10ms, [&] { fired.push_back(10); });
  stopped->Stop();
  const auto start = std::chrono::steady_clock::now();
  while (fired.size() < 2 && std::chrono::steady_clock::now() - start < 2s) loop.RunOnce(1s);
  EXPECT_EQ(fired, (std::vector<int>{20, 60}));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 60ms) << "no timer fires early";
  EXPECT_FALSE(late->IsActive());
}

// Answers from a script rather than a keyboard.
class ScriptedTerminal : public Terminal {
 public:
  bool Interactive() const override { return interactive; }
  std::optional<std::string> ReadLine() override { return Next(); }
  std::optional<Secret> ReadSecret(bool hidden) override {
    secrets += hidden;
    const std::optional<std::string> line = Next();
    return line ? std::optional<Secret>(Secret(*line)) : std::nullopt;
  }
  std::optional<std::string> Next() {
    if (lines.empty()) return std::nullopt;
    std::string line = lines.front();
    lines.erase(lines.begin());
    return line;
  }
  bool interactive = true;
  std::vector<std::string> lines;
  int secrets = 0;
};

// The engine on the fake world with the command line's front end.
class CliRunTest : public ::testing::Test {
 protected:
  RunOutcome Run(const Args& args, std::vector<std::string> replies) {
    invocation = *ParseArguments(args).invocation;
    front = std::make_unique<CliFrontEnd>(
        invocation, [] {}, terminal, std::nullopt, err);
    run = std::make_unique<SetupRun>(world.services, *front, Language::English);
    front->Attach(*run);
    run->Start();
    world.clock.Advance(kScanStartDelay);
    for (const std::string& reply : replies) world.Arrive(reply);
    world.clock.Advance(kScanWindow);
    return run->Outcome();
  }
  const std::string kA{test::kWorkedReply};
  const std::string kB = test::MakeReply("00:0A:1B:2C:3D:99", "filer1", "W", "");
  testing::FakeWorld world;
  ScriptedTerminal terminal;
  Invocation invocation;
  std::ostringstream out, err;
  std::unique_ptr<CliFrontEnd> front;
  std::unique_ptr<SetupRun> run;
};

TEST_F(CliRunTest, ConfigureAsksOnlyWhatTheArgumentsLeaveOpen) {
  world.prober.otherwise = ProbeResult::NoAnswer;
  world.candidates.values = {testing::RFor(77)};
  terminal.lines = {"y", "admin", "p;w"};
  EXPECT_EQ(Run({"configure", "00:0a:1b:2c:3d:4e"}, {kA}), RunOutcome::Running);
  ASSERT_EQ(world.sender.SentOf("0C02S").size(), 1u);
  EXPECT_EQ(world.sender.sent.back(),
            "0C02S00:0A:1B:2C:3D:4E192.168.1.77;255.255.255.0;"
            "192.168.1.1;FILER1;WORKGROUP;FILER1;admin;p;w");
  EXPECT_EQ(terminal.secrets, 1) << "the password is read without echo";
  EXPECT_NE(err.str().find("Give FILER1 (00:0A:1B:2C:3D:4E), now at 192.168.1.20, the address "
                           "192.168.1.77 with mask 255.255.255.0 and gateway 192.168.1.1? [y/N]"),
            std::string::npos)
      << err.str();
  EXPECT_EQ(err.str().find("p;w"), std::string::npos) << "the password is never shown";

  terminal.lines = {"n"};
  EXPECT_EQ(Run({"configure", "FILER1", "--user", "u"}, {kA}), RunOutcome::Cancelled);
  EXPECT_EQ(front->Decision(), ExitCode::Usage);
  EXPECT_EQ(world.sender.SentOf("0C02S").size(), 1u) << "only the discovery request went out";
}

TEST_F(CliRunTest, TheDeviceIsTheOneNamedAndOnlyOne) {
  world.prober.otherwise = ProbeResult::NoAnswer;
  EXPECT_EQ(Run({"configure", "NAS9"}, {kA}), RunOutcome::NoChoice);
  EXPECT_EQ(front->Decision(), ExitCode::NothingFound);
  EXPECT_EQ(Run({"configure", "FILER1"}, {kA, kB}), RunOutcome::NoChoice);
  EXPECT_EQ(front->Decision(), ExitCode::Usage) << "two identities answer to FILER1";
  EXPECT_NE(err.str().find("00:0A:1B:2C:3D:99"), std::string::npos);
  EXPECT_EQ(Run({"shortcuts", "192.168.1.20"}, {kA, kA}), RunOutcome::NoChoice);
  EXPECT_EQ(front->Decision(), ExitCode::DeviceFailure) << "it does not answer a ping";
  EXPECT_TRUE(world.desktop.created.empty());

  world.prober.otherwise = ProbeResult::Answered;
  EXPECT_EQ(Run({"shortcuts", "00:0A:1B:2C:3D:4E", "--open"}, {kA, kA}),
            RunOutcome::AlreadyReachable);
  EXPECT_EQ(world.desktop.created.size(), 1u);
  EXPECT_EQ(world.desktop.opened, std::vector<std::string>{"192.168.1.20"});
}

TEST_F(CliRunTest, TheQuestionShowsADevicesNameAndCannotBeForgedByIt) {
  const std::string name = "X\x1b[2K\r\n0    Yes         FILER1\xc2\x9d\xe2\x80\xae";
  world.prober.otherwise = ProbeResult::NoAnswer;
  terminal.lines = {"n"};
  Run({"configure", name, "--user", "u"}, {test::MakeReply("00:0A:1B:2C:3D:66", name, "W", "")});
  EXPECT_EQ(err.str().find_first_of("\x1b\r"), std::string::npos) << err.str();
  // Through the filter, in this PC's code page (its table is ShowsWhatATerminalWouldObey).
  EXPECT_NE(err.str().find("Give " + TerminalText(name) + " ("), std::string::npos) << err.str();
}

TEST(ExitCodes, OutputThatNeverArrivedIsNoSuccess) {
  const std::pair<Args, int> closedOutput[] = {{{"--help"}, 6}, {{"list", "--wait", "0"}, 2}};
  for (const auto& [args, code] : closedOutput) {
    std::ostream out(nullptr);
    std::ostringstream err;
    ScriptedTerminal terminal;
    EXPECT_EQ(RunProgram(args, terminal, out, err), code) << args[0] << err.str();
  }
}

}  // namespace
}  // namespace orvane

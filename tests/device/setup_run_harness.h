#pragma once
// Drives the setup run through whole runs on the fake world and a front end
// that records what it was told and answers as scripted. Time moves only when
// a test advances the fake clock.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/setup_run.h"
#include "tests/device/sample_replies.h"
#include "tests/support/fake_world.h"

namespace orvane::testing {

class FakeFrontEnd : public RunFrontEnd {
 public:
  void SetStatus(const std::string& text) override {
    status = text;
    statuses.push_back(text);
  }
  void SetMark(Row row, Mark mark) override { marks[row] = mark; }
  void EnableLeaving() override { leavingEnabled = true; }
  void SetBusy(bool on) override { busy = on; }
  Answer ShowMessage(const Message& message) override;
  // Runs the events posted meanwhile, as the window program's yield would.
  void LetEventsRun() override;
  std::optional<std::size_t> ChooseDevice(std::span<const DeviceRow> rows) override;
  std::optional<Credentials> AskCredentials() override {
    ++credentialsAsked;
    if (!credentials) return std::nullopt;
    return Credentials{credentials->userName, Secret(credentials->password.View())};
  }
  // As the page does: leaving it stops its run.
  void ReturnToScanStart() override { Leave(returnedToScanStart); }
  void EndProgram() override { Leave(ended); }

  Mark MarkOf(Row row) const;
  std::vector<std::string> MessageTexts() const;

  SetupRun* run = nullptr;
  std::string status;
  std::vector<std::string> statuses;  // every status line, in order
  std::map<Row, Mark> marks;
  bool leavingEnabled = false;
  bool busy = false;
  std::vector<Message> shown;
  std::deque<Answer> answers;  // for OK/Cancel boxes; an unqueued one answers OK
  std::function<void(const Message&)> onMessage;
  std::vector<std::function<void()>> events;  // run at the next yield
  int yields = 0;
  // The device list: what it was given, and the row the user takes.
  std::vector<DeviceRecord> listed;
  std::vector<bool> listedReachable;
  std::optional<std::size_t> choice = 0;
  // The login page: what the user confirms, or nothing for a cancel.
  std::optional<Credentials> credentials = Credentials{"vexil", Secret("vexil")};
  int credentialsAsked = 0;
  int returnedToScanStart = 0;
  int ended = 0;

 private:
  void Leave(int& count) {
    ++count;
    if (run) run->Stop();
  }
};

inline const std::string kIdA(test::kWorkedIdentity);
inline const std::string kReplyA(test::kWorkedReply);
inline const std::string kReplyB =
    "0C01R00:0A:1B:2C:3D:99;IP='10.20.30.40';NETMASK='255.255.255.0';GATEWAY='10.20.30.1';"
    "HOSTNAME='ARCHIVE';WORKGROUP='HOME';HOSTNAME_FULL='archive.home'";

class SetupRunTest : public ::testing::Test {
 protected:
  // Step 4 loads: the run starts.
  void Open(Language language = Language::English);
  // Opens, lets the 100 ms scan start run, delivers the replies during the
  // window and returns with the window still open.
  void StartScan(const std::vector<std::string>& replies);
  // The 3-second window ends.
  void EndScanWindow() { world.clock.Advance(kScanWindow); }

  static std::string T(TextId id) { return LoadText(id, Language::English); }

  FakeWorld world;
  FakeFrontEnd front;
  std::unique_ptr<SetupRun> run;
};

}  // namespace orvane::testing

#include "tests/device/setup_run_harness.h"

namespace orvane::testing {

Answer FakeFrontEnd::ShowMessage(const Message& message) {
  shown.push_back(message);
  if (onMessage) onMessage(message);
  if (message.buttons == Buttons::Ok || answers.empty()) return Answer::Ok;
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

void FakeFrontEnd::LetEventsRun() {
  ++yields;
  std::vector<std::function<void()>> pending;
  pending.swap(events);
  for (const auto& event : pending) event();
}

std::optional<std::size_t> FakeFrontEnd::ChooseDevice(std::span<const DeviceRow> rows) {
  for (const DeviceRow& row : rows) {
    listed.push_back(*row.device);
    listedReachable.push_back(row.reachable);
  }
  return choice;
}

Mark FakeFrontEnd::MarkOf(Row row) const {
  const auto it = marks.find(row);
  return it == marks.end() ? Mark::None : it->second;
}

std::vector<std::string> FakeFrontEnd::MessageTexts() const {
  std::vector<std::string> texts;
  for (const Message& m : shown) texts.push_back(m.text);
  return texts;
}

void SetupRunTest::Open(Language language) {
  run = std::make_unique<SetupRun>(world.services, front, language);
  front.run = run.get();
  run->Start();
}

void SetupRunTest::StartScan(const std::vector<std::string>& replies) {
  Open();
  world.clock.Advance(kScanStartDelay);
  for (const std::string& reply : replies) world.Arrive(reply);
}

}  // namespace orvane::testing

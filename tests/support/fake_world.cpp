#include "tests/support/fake_world.h"

#include <algorithm>

namespace orvane::testing {

class FakeClock::FakeTimer : public Timer {
 public:
  explicit FakeTimer(FakeClock* clock) : clock_(clock) { clock_->timers_.push_back(this); }
  ~FakeTimer() override {
    if (clock_) std::erase(clock_->timers_, this);
  }
  void Start(milliseconds after, std::function<void()> onTimeout) override {
    due_ = (clock_ ? clock_->now_ : milliseconds{0}) + after;
    onTimeout_ = std::move(onTimeout);
    active_ = true;
  }
  void Stop() override { active_ = false; }
  bool IsActive() const override { return active_; }

  FakeClock* clock_;
  milliseconds due_{0};
  std::function<void()> onTimeout_;
  bool active_ = false;
};

FakeClock::~FakeClock() {
  for (FakeTimer* timer : timers_) timer->clock_ = nullptr;
}

std::unique_ptr<Timer> FakeClock::MakeTimer() {
  return std::make_unique<FakeTimer>(this);
}

void FakeClock::Advance(milliseconds by) {
  const milliseconds until = now_ + by;
  for (;;) {
    FakeTimer* next = nullptr;
    for (FakeTimer* timer : timers_)
      if (timer->active_ && timer->due_ <= until && (!next || timer->due_ < next->due_))
        next = timer;
    if (!next) break;
    now_ = next->due_;
    next->active_ = false;
    // A copy: the callback may arm the timer again, or destroy it.
    const std::function<void()> callback = next->onTimeout_;
    callback();
  }
  now_ = until;
}

std::vector<milliseconds> FakeClock::Armed() const {
  std::vector<milliseconds> left;
  for (const FakeTimer* timer : timers_)
    if (timer->active_) left.push_back(timer->due_ - now_);
  std::sort(left.begin(), left.end());
  return left;
}

FakeReceiver::FakeReceiver(std::shared_ptr<FakePort> port) : port_(std::move(port)) {
  port_->receivers.push_back(this);
}

FakeReceiver::~FakeReceiver() {
  std::erase(port_->receivers, this);
}

bool FakeReceiver::Open(std::string& error) {
  if (port_->taken) {
    error = "The bound address is already in use";
    return false;
  }
  open_ = true;
  return true;
}

void FakeReceiver::Arrive(std::string_view datagram, const Arrival& arrival) {
  if (open_ && onDatagram) onDatagram(datagram, arrival);
}

std::unique_ptr<ReplyReceiver> FakeReceivers::MakeReceiver() {
  return std::make_unique<FakeReceiver>(port_);
}

FakeReceiver* FakeReceivers::Newest() const {
  return port_->receivers.empty() ? nullptr : port_->receivers.back();
}

SendOutcome FakeSender::SendVia(std::string_view bytes, const Adapter& adapter) {
  const SendOutcome outcome = Send(bytes);
  via.back() = adapter.name;
  return outcome;
}

SendOutcome FakeSender::Send(std::string_view bytes) {
  sent.emplace_back(bytes);
  via.emplace_back();
  if (onSend) onSend(sent.back());
  if (failures.empty()) return {SendOutcome::Stage::Sent, 0};
  const SendOutcome outcome = failures.front();
  failures.erase(failures.begin());
  return outcome;
}

std::vector<std::string> FakeSender::SentOf(std::string_view kind) const {
  std::vector<std::string> out;
  for (const std::string& bytes : sent)
    if (bytes.starts_with(kind)) out.push_back(bytes);
  return out;
}

ProbeResult FakeProber::Probe(const std::string& address) {
  probed.push_back(address);
  if (onProbe) onProbe(address);
  const auto it = answers.find(address);
  return it == answers.end() ? otherwise : it->second;
}

std::vector<ProbeResult> FakeProber::ProbeAll(std::span<const std::string> addresses) {
  batches.emplace_back(addresses.begin(), addresses.end());
  std::vector<ProbeResult> results;
  for (const std::string& address : addresses) results.push_back(Probe(address));
  return results;
}

Neighbour FakeProber::AskNeighbour(const std::string& address, bool resolve) {
  asked.push_back((resolve ? "+" : "") + address);
  const auto it = neighbours.find(address);
  if (it == neighbours.end()) return {};
  const auto mac = hardware.find(address);
  if (it->second != NeighbourAnswer::Held || mac == hardware.end()) return {it->second};
  return {it->second, mac->second};
}

Neighbour FakeProber::LookNeighbour(const std::string& address) {
  Neighbour answer = AskNeighbour(address, false);
  asked.back() = "~" + address;
  return answer;
}

DesktopResult FakeDesktop::CreateShortcuts(const std::string& address, const std::string& hostName,
                                           const PcCodePage&) {
  created.emplace_back(address, hostName);
  if (skip) return {false, "No shortcuts wanted.", false, true};
  return {createError.empty(), createError};
}

DesktopResult FakeDesktop::OpenShortcutTargets(const std::string& address) {
  opened.push_back(address);
  return {openError.empty(), openError};
}

float ScriptedCandidates::NextUnit() {
  const float r = values[std::min(next, values.size() - 1)];
  ++next;
  return r;
}

void FakeWorld::Arrive(std::string_view datagram, const Arrival& arrival) {
  if (FakeReceiver* receiver = receivers.Newest()) receiver->Arrive(datagram, arrival);
}

}  // namespace orvane::testing

#pragma once
// Fakes at every seam of the setup run, all in one world: a clock that moves
// only when told, a receiver that hears only what a test delivers, a sender
// and a prober that record, the PC's settings, a desktop that writes nothing
// and a scripted candidate draw. Standard C++ only, so the engine's tests, the
// window tests and the screenshot tool share them.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "device/setup_services.h"

namespace orvane::testing {

using std::chrono::milliseconds;

class FakeClock : public Clock {
 public:
  ~FakeClock() override;
  std::unique_ptr<Timer> MakeTimer() override;
  // Moves time on by `by`, firing every timer that falls due meanwhile,
  // soonest first; a timer armed by a callback fires too if it falls due in
  // time.
  void Advance(milliseconds by);
  milliseconds Now() const { return now_; }
  // The time left to each armed timer, soonest first.
  std::vector<milliseconds> Armed() const;

 private:
  class FakeTimer;
  std::vector<FakeTimer*> timers_;
  milliseconds now_{0};
};

class FakeReceiver;

// What the receivers of one factory share; it outlives whichever goes first.
struct FakePort {
  bool taken = false;                    // another program holds UDP port 12310
  std::vector<FakeReceiver*> receivers;  // those that exist, oldest first
};

class FakeReceiver : public ReplyReceiver {
 public:
  explicit FakeReceiver(std::shared_ptr<FakePort> port);
  ~FakeReceiver() override;
  bool Open(std::string& error) override;
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  // A datagram reaches the receiver; it is delivered only while open.
  void Arrive(std::string_view datagram, const Arrival& arrival = {});

 private:
  std::shared_ptr<FakePort> port_;
  bool open_ = false;
};

class FakeReceivers : public ReceiverFactory {
 public:
  std::unique_ptr<ReplyReceiver> MakeReceiver() override;
  // The newest receiver that still exists, or null.
  FakeReceiver* Newest() const;
  void TakePort(bool taken) { port_->taken = taken; }
  std::optional<bool> PortReachesItself(const std::string&) override { return selfTest; }
  std::optional<bool> selfTest;  // what a datagram to this PC's own port 12310 finds
  std::optional<FirewallState> ReadFirewall() override { return firewall; }
  std::optional<FirewallState> firewall;  // what Windows Firewall says of it

 private:
  std::shared_ptr<FakePort> port_ = std::make_shared<FakePort>();
};

class FakeSender : public Sender {
 public:
  SendOutcome Send(std::string_view bytes) override;
  SendOutcome SendVia(std::string_view bytes, const Adapter& adapter) override;
  std::vector<std::string> sent;
  // What was sent of one kind ("0C01S", "0C02S"), in order.
  std::vector<std::string> SentOf(std::string_view kind) const;
  // The adapter of each send, by name; "" for one the routes decided.
  std::vector<std::string> via;
  // Failures for the next sends, in order.
  std::vector<SendOutcome> failures;
  // Called for every send (the "devices" answering).
  std::function<void(const std::string&)> onSend;
};

class FakeProber : public Prober {
 public:
  ProbeResult Probe(const std::string& address) override;
  // Each address in turn, as Probe; `batches` records how they were grouped.
  std::vector<ProbeResult> ProbeAll(std::span<const std::string> addresses) override;
  std::string CouldNotProbeReason() const override { return reason; }
  Neighbour AskNeighbour(const std::string& address, bool resolve) override;
  Neighbour LookNeighbour(const std::string& address) override;
  std::map<std::string, ProbeResult> answers;  // by address
  ProbeResult otherwise = ProbeResult::NoAnswer;
  std::string reason;
  std::vector<std::string> probed;
  std::vector<std::vector<std::string>> batches;  // one per ProbeAll
  // Called for every probe, before it answers.
  std::function<void(const std::string&)> onProbe;
  // What ARP says, by address; Unknown otherwise. `asked` records each
  // question, with "+" before the address when it had to be resolved and
  // "~" for a look that does not wait. A held address answers with its
  // entry in `hardware`, if it has one.
  std::map<std::string, NeighbourAnswer> neighbours;
  std::map<std::string, HardwareAddress> hardware;
  std::vector<std::string> asked;
};

class FakeSettings : public SettingsSource {
 public:
  LocalSettings Read() override { return value; }
  // One adapter with `value` unless `adapters` names them.
  std::vector<Adapter> ReadAdapters() override {
    return adapters.empty() ? std::vector<Adapter>{{"eth0", 2, value, true}} : adapters;
  }
  LocalSettings value{"192.168.1.10", "255.255.255.0", "192.168.1.1"};
  std::vector<Adapter> adapters;
};

class FakeDesktop : public Desktop {
 public:
  DesktopResult CreateShortcuts(const std::string& address, const std::string& hostName,
                                const PcCodePage& pc) override;
  DesktopResult OpenShortcutTargets(const std::string& address) override;
  std::vector<std::pair<std::string, std::string>> created;  // address, host name
  std::vector<std::string> opened;
  std::string createError;  // empty: success
  bool skip = false;        // the user wants no shortcuts
  std::string openError;
};

// Candidate draws from a fixed list of r values (then repeats the last).
class ScriptedCandidates : public CandidateSource {
 public:
  float NextUnit() override;
  std::vector<float> values{0.3f};
  std::size_t next = 0;
};

// r for a wanted last part: 253 r + 1 = part exactly.
inline float RFor(int lastPart) {
  return float(lastPart - 1) / 253.0f;
}

class FakeWorld {
 public:
  FakeWorld() = default;
  FakeWorld(const FakeWorld&) = delete;
  FakeWorld& operator=(const FakeWorld&) = delete;

  // Delivers a datagram to the newest receiver (only if it is open).
  void Arrive(std::string_view datagram, const Arrival& arrival = {});

  FakeClock clock;
  FakeReceivers receivers;
  FakeSender sender;
  FakeProber prober;
  FakeSettings settings;
  FakeDesktop desktop;
  ScriptedCandidates candidates;
  const Services services{clock, receivers, sender, prober, settings, desktop, candidates};
};

}  // namespace orvane::testing

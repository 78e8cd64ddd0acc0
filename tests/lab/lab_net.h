#pragma once
// Helpers for tests that run inside the lab's PC namespace (scripts/lab.sh):
// the PC's end of the device protocol on plain POSIX sockets, an ICMP echo,
// the lab's facts from the environment and the simulators' logs.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace orvane::lab {

using std::chrono::milliseconds;

struct Datagram {
  std::string bytes;
  std::string fromAddress;
  int fromPort = 0;
  milliseconds after{0};  // since the receiver was opened
};

// Listens on UDP port 12310, all local addresses, as the wizard's receiver does.
class ReplyReceiver {
 public:
  ReplyReceiver();
  ~ReplyReceiver();
  ReplyReceiver(const ReplyReceiver&) = delete;
  ReplyReceiver& operator=(const ReplyReceiver&) = delete;

  bool ok() const { return fd_ >= 0; }

  // Everything that arrives within `window`.
  std::vector<Datagram> Collect(milliseconds window);

  // Collects until `done` holds for what has arrived, or `limit` has passed.
  std::vector<Datagram> CollectUntil(const std::function<bool(const std::vector<Datagram>&)>& done,
                                     milliseconds limit);

 private:
  int fd_ = -1;
  std::chrono::steady_clock::time_point opened_;
};

// Sends one request datagram to UDP port 12311 of `address` from a fresh,
// unbound socket with broadcast permission. Returns an error text, "" on success.
std::string SendRequest(std::string_view bytes, const std::string& address = "255.255.255.255",
                        int port = 12311);

// Starts `work` on a thread of its own inside the network namespace `ns` (a
// lab device's LAB_DEV_<NAME>_NS), so what it sends comes from that host
// across the lab's bridge. `work` is told whether the namespace was entered;
// only the new thread moves, the test process stays on the PC.
std::thread StartInNamespace(const std::string& ns, std::function<void(bool entered)> work);

// True when `address` answers one ICMP echo within `timeout` (datagram ICMP
// socket: the lab allows it in the PC namespace through ping_group_range).
bool AnswersPing(const std::string& address, milliseconds timeout);

// Runs a program (no shell) and returns its standard output; nullopt when it
// could not be run or did not exit with 0.
std::optional<std::string> Capture(const std::vector<std::string>& argv);

// The IPv4 addresses (with prefix) of an interface in a lab namespace.
std::vector<std::string> NamespaceAddresses(const std::string& ns, const std::string& iface);

// A lab fact from the environment, e.g. Lab("PC_ADDR") reads LAB_PC_ADDR;
// empty when unset.
std::string Lab(const std::string& name);

// Lines a simulator appended to its log since this object was made.
class LogTail {
 public:
  explicit LogTail(std::string path);
  std::vector<std::string> NewLines() const;
  // The new lines with " RECV " in them.
  std::vector<std::string> NewReceived() const;

 private:
  std::string path_;
  long long offset_ = 0;
};

// The RECV line body a simulator writes for a datagram from `fromAddress`
// (everything after the source port), e.g. " len=5 hex=3043303153 text=\"0C01S\"".
std::string ExpectedReceivedTail(std::string_view bytes);

// Part of main() for lab test binaries: false (with a message) when this
// process is not inside a lab namespace; main then exits with 77, which ctest
// counts as skipped.
bool InsideLab();

}  // namespace orvane::lab

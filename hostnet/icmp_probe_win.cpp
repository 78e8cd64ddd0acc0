// Order matters: winsock2.h before windows.h, and both before the IP Helper
// and ICMP headers.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <icmpapi.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hostnet/icmp_packet.h"
#include "hostnet/icmp_probe.h"
#include "hostnet/ipv4_text.h"

namespace orvane {
namespace {

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;
// One ICMP_ECHO_REPLY and room for 250 bytes of echoed data; the extra 8
// bytes are the room for an ICMP error that IcmpSendEcho asks for.
constexpr DWORD kReplyBufferSize = sizeof(ICMP_ECHO_REPLY) + 250 + 8;

thread_local std::int32_t lastProbeErrno = 0;

// Status codes in the IP_* range (11000 and up) are time-outs and ICMP errors
// about the address; anything else is a failure of the call itself, which
// says nothing about the address.
bool IsEchoStatus(DWORD code) {
  return code >= IP_STATUS_BASE && code <= IP_GENERAL_FAILURE;
}

ProbeResult CouldNotProbe(DWORD error) {
  lastProbeErrno = static_cast<std::int32_t>(error);
  return ProbeResult::CouldNotProbe;
}

// One echo in flight: its own event, which the IP Helper signals when the
// reply (or the time-out) is in, and its own DWORD-aligned reply buffer, as
// IcmpSendEcho2 requires.
struct Flight {
  std::uint32_t target = 0;
  HANDLE done = nullptr;
  std::vector<DWORD> reply = std::vector<DWORD>((kReplyBufferSize + 3) / sizeof(DWORD));
  std::optional<ProbeResult> result;
};

ProbeResult ReadReply(Flight& flight) {
  const DWORD size = static_cast<DWORD>(flight.reply.size() * sizeof(DWORD));
  if (IcmpParseReplies(flight.reply.data(), size) == 0) {
    const DWORD error = GetLastError();
    return IsEchoStatus(error) ? ProbeResult::NoAnswer : CouldNotProbe(error);
  }
  const auto* reply = reinterpret_cast<const ICMP_ECHO_REPLY*>(flight.reply.data());
  const bool answered = reply->Status == IP_SUCCESS && reply->Address == htonl(flight.target);
  return answered ? ProbeResult::Answered : ProbeResult::NoAnswer;
}

}  // namespace

// The IP Helper echo calls need no Winsock start-up, so there is none here
// and no start-up or clean-up failure to report. The method is ignored: the
// IP Helper call is the one echo facility Windows offers without privileges.
ProbeResult Probe(std::string_view address, std::chrono::milliseconds timeout, ProbeMethod method) {
  const std::string one(address);
  return ProbeAll(std::span(&one, 1), timeout, method).front();
}

std::vector<ProbeResult> ProbeAll(std::span<const std::string> addresses,
                                  std::chrono::milliseconds timeout, ProbeMethod /*method*/) {
  lastProbeErrno = 0;
  std::vector<Flight> flights(addresses.size());
  const HANDLE echo = IcmpCreateFile();
  const DWORD openError = echo == INVALID_HANDLE_VALUE ? GetLastError() : 0;
  char request[kEchoData.size()];
  kEchoData.copy(request, sizeof request);
  // Every request goes out before any reply is awaited: n probes take the
  // time of one.
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    Flight& flight = flights[i];
    const std::optional<std::uint32_t> target = ParseDottedQuad(addresses[i]);
    if (!target || *target == kLimitedBroadcast) {
      flight.result = ProbeResult::InvalidAddress;
      continue;
    }
    if (echo == INVALID_HANDLE_VALUE) {
      flight.result = CouldNotProbe(openError);
      continue;
    }
    flight.target = *target;
    flight.done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (flight.done == nullptr) {
      flight.result = CouldNotProbe(GetLastError());
      continue;
    }
    const DWORD replies =
        IcmpSendEcho2(echo, flight.done, nullptr, nullptr, htonl(*target), request,
                      static_cast<WORD>(sizeof request), nullptr, flight.reply.data(),
                      static_cast<DWORD>(flight.reply.size() * sizeof(DWORD)),
                      static_cast<DWORD>(timeout.count()));
    const DWORD error = replies == 0 ? GetLastError() : ERROR_IO_PENDING;
    if (error != ERROR_IO_PENDING) {
      flight.result = IsEchoStatus(error) ? ProbeResult::NoAnswer : CouldNotProbe(error);
    }
  }
  // The IP Helper ends each request by its own time-out; the margin only
  // guards against an event that is never signalled.
  const DWORD waitMs = static_cast<DWORD>(timeout.count()) + 1000;
  const ULONGLONG start = GetTickCount64();
  for (Flight& flight : flights) {
    if (flight.result) continue;
    const ULONGLONG spent = GetTickCount64() - start;
    const DWORD left = spent >= waitMs ? 0 : static_cast<DWORD>(waitMs - spent);
    flight.result = WaitForSingleObject(flight.done, left) == WAIT_OBJECT_0 ? ReadReply(flight)
                                                                            : ProbeResult::NoAnswer;
  }
  // Closing the handle cancels what is still outstanding, before the events
  // and buffers go.
  if (echo != INVALID_HANDLE_VALUE) IcmpCloseHandle(echo);
  std::vector<ProbeResult> results;
  results.reserve(flights.size());
  for (Flight& flight : flights) {
    if (flight.done != nullptr) CloseHandle(flight.done);
    results.push_back(*flight.result);
  }
  return results;
}

std::int32_t LastProbeErrno() {
  return lastProbeErrno;
}

}  // namespace orvane

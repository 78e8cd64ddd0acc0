// Order matters: winsock2.h before windows.h, and both before the IP Helper
// and ICMP headers.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <icmpapi.h>

#include <optional>

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

}  // namespace

// The IP Helper echo calls need no Winsock start-up, so there is none here
// and no start-up or clean-up failure to report. The method is ignored: the
// IP Helper call is the one echo facility Windows offers without privileges.
ProbeResult Probe(std::string_view address, std::chrono::milliseconds timeout,
                  ProbeMethod /*method*/) {
  lastProbeErrno = 0;
  const std::optional<std::uint32_t> target = ParseDottedQuad(address);
  if (!target || *target == kLimitedBroadcast) {
    return ProbeResult::InvalidAddress;
  }

  const HANDLE echo = IcmpCreateFile();
  if (echo == INVALID_HANDLE_VALUE) {
    lastProbeErrno = static_cast<std::int32_t>(GetLastError());
    return ProbeResult::CouldNotProbe;
  }

  // DWORD-aligned, as IcmpSendEcho requires of the reply buffer.
  DWORD replyBuffer[(kReplyBufferSize + sizeof(DWORD) - 1) / sizeof(DWORD)] = {};
  char request[kEchoData.size()];
  kEchoData.copy(request, sizeof request);
  const DWORD replies =
      IcmpSendEcho(echo, htonl(*target), request, static_cast<WORD>(sizeof request), nullptr,
                   replyBuffer, sizeof replyBuffer, static_cast<DWORD>(timeout.count()));
  const DWORD error = replies == 0 ? GetLastError() : 0;
  IcmpCloseHandle(echo);

  if (replies == 0) {
    // Time-outs and ICMP errors come back as IP_* status codes (11000 and
    // up); anything else is a failure of the call itself, which says
    // nothing about the address. The zeroed buffer must not be read then:
    // its Status of 0 would claim a reply.
    if (error >= IP_STATUS_BASE && error <= IP_GENERAL_FAILURE) {
      return ProbeResult::NoAnswer;
    }
    lastProbeErrno = static_cast<std::int32_t>(error);
    return ProbeResult::CouldNotProbe;
  }
  const auto* reply = reinterpret_cast<const ICMP_ECHO_REPLY*>(replyBuffer);
  const bool answered = reply->Status == IP_SUCCESS && reply->Address == htonl(*target);
  return answered ? ProbeResult::Answered : ProbeResult::NoAnswer;
}

std::int32_t LastProbeErrno() {
  return lastProbeErrno;
}

}  // namespace orvane

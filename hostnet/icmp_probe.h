#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// How long a probe waits for the echo reply, counted from the send.
inline constexpr std::chrono::milliseconds kProbeTimeout{500};

enum class ProbeResult {
  Answered,        // a matching echo reply arrived in time
  NoAnswer,        // no reply in time, an ICMP error, or no route to the address
  InvalidAddress,  // not a host's address: not dotted IPv4, 255.255.255.255 (nothing
                   // sent), or a broadcast address the system refuses to echo to
  CouldNotProbe,   // the echo facility could not be opened or used; see LastProbeErrno
};

// Which echo facility to use. Only tests force one; the wizard uses Auto.
enum class ProbeMethod {
  Auto,      // the unprivileged datagram socket, else the raw socket
  Datagram,  // socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP): needs ping_group_range
  Raw,       // socket(AF_INET, SOCK_RAW, IPPROTO_ICMP): needs CAP_NET_RAW
};

// Sends one ICMP echo request with the 26 letters as data and waits up to
// `timeout` for its reply. Blocks the caller for that long at most. Only
// Answered means the address is in use: callers must not read CouldNotProbe
// as a free address. The address must be strict dotted decimal (see
// ParseDottedQuad); anything else, and the limited broadcast address, give
// InvalidAddress without a packet being sent.
ProbeResult Probe(std::string_view address, std::chrono::milliseconds timeout = kProbeTimeout,
                  ProbeMethod method = ProbeMethod::Auto);

// Probes every address at once: all requests go out before any reply is
// awaited, so the whole takes the time of one probe (at most `timeout`).
// Result i belongs to address i, each as Probe would give it.
std::vector<ProbeResult> ProbeAll(std::span<const std::string> addresses,
                                  std::chrono::milliseconds timeout = kProbeTimeout,
                                  ProbeMethod method = ProbeMethod::Auto);

// Why the last Probe or ProbeAll on this thread gave CouldNotProbe: the errno (POSIX) or
// GetLastError value (Windows) of the call that failed last; 0 after any
// other result. With Auto on Linux that is the raw socket's error, since it
// is tried last (typically EPERM: neither ping_group_range nor CAP_NET_RAW
// allows ICMP).
std::int32_t LastProbeErrno();

}  // namespace orvane

#pragma once

// Helpers for the tests that run inside the namespaces in_netns.sh makes.

#include <chrono>
#include <cstdint>
#include <string>

#include "hostnet/icmp_probe.h"

namespace orvane::lab {

// The addresses of the test network (see in_netns.sh).
inline constexpr const char* kOwnAddress = "10.77.5.9";
inline constexpr const char* kOwnSecondAddress = "192.168.50.7";
inline constexpr const char* kRouter = "10.77.4.1";
inline constexpr const char* kAbsent = "10.77.5.20";      // in x0's subnet, nobody holds it
inline constexpr const char* kUnreachable = "10.99.0.1";  // the router says unreachable
inline constexpr const char* kAdapter = "x0";

// Why this process must not send test traffic where it is, or the empty text
// when it is inside a namespace that in_netns.sh made. Never empty in the
// machine's own namespace: that one is recognised three ways (the inode of
// pid 1's namespace, the inode in_netns.sh started from, and interfaces
// in_netns.sh did not create).
std::string RefusalToRun();

// The probe method the suites parameterised by the command line use.
ProbeMethod LabProbeMethod();
void SetLabProbeMethod(ProbeMethod method);

// An Icmp counter of this namespace from /proc/net/snmp, e.g. "OutEchos"
// (echo requests sent) or "InDestUnreachs" (unreachable errors received).
std::uint64_t IcmpCounter(const char* name);

// Packets the interface has sent, from the link statistics of this namespace.
std::uint64_t TxPackets(const char* interfaceName);

// A socket made in the router's namespace; -1 when that fails. The socket
// stays in that namespace for its whole life, whichever thread uses it.
int OpenSocketInRouter(int type, int protocol);

// Milliseconds since `start`, with fractions.
double MillisecondsSince(std::chrono::steady_clock::time_point start);

// CPU time (user and system) this process has used so far, in milliseconds.
double CpuMilliseconds();

}  // namespace orvane::lab

#pragma once
// What the simulator needs from the namespace it runs in: whether that is the
// machine's own network namespace (where it must not run), the facts of its
// interface, and a way to really move to a new address.

#include <optional>
#include <string>
#include <vector>

namespace orvane::devsim {

enum class NamespaceCheck { kSame, kDifferent, kUnknown };

// Compares the inodes of two namespace files (e.g. /proc/self/ns/net and
// /proc/1/ns/net). kUnknown when either cannot be read.
NamespaceCheck CompareNamespaces(const std::string& pathA, const std::string& pathB);

// True unless this process is provably in another network namespace than the
// machine's: that of process 1, or, where /proc/1/ns is not readable (some VM
// and container inits hide it even from root), that of kthreadd (process 2),
// which always lives in the initial namespaces. Not being able to tell counts
// as "own namespace". `procRoot` is for tests.
bool InMachineNetNamespace(const std::string& procRoot = "/proc");

struct InterfaceFacts {
  std::string name;
  std::string address;
  std::string netmask;
};

// The first up, non-loopback interface with an IPv4 address, restricted to
// the interface `name` and/or the address `address` when those are not empty.
std::optional<InterfaceFacts> FindInterface(const std::string& name, const std::string& address);

// The gateway of the IPv4 default route in /proc/net/route, or "0.0.0.0".
std::string DefaultGateway();

// Runs a program with this argument vector (no shell) and waits for it.
// Returns its exit status, or -1 when it could not be started or was killed.
int RunProgram(const std::vector<std::string>& argv);

// Gives interface `iface` the single IPv4 address `address`/`prefix` and a
// default route through `gateway` (none for "" or "0.0.0.0"), with `ip`.
// On failure `error` tells which step failed.
bool MoveToAddress(const std::string& iface, const std::string& address, int prefix,
                   const std::string& gateway, std::string& error);

}  // namespace orvane::devsim

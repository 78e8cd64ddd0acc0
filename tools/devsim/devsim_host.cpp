#include "tools/devsim/devsim_host.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fstream>
#include <sstream>

namespace orvane::devsim {

namespace {

std::string DottedOf(const sockaddr* addr) {
  char text[INET_ADDRSTRLEN] = {};
  const auto* in = reinterpret_cast<const sockaddr_in*>(addr);
  inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
  return text;
}

bool IsUnsetGateway(const std::string& gateway) {
  return gateway.empty() || gateway == "0.0.0.0";
}

}  // namespace

NamespaceCheck CompareNamespaces(const std::string& pathA, const std::string& pathB) {
  struct stat a {};
  struct stat b {};
  if (::stat(pathA.c_str(), &a) != 0 || ::stat(pathB.c_str(), &b) != 0) {
    return NamespaceCheck::kUnknown;
  }
  return (a.st_dev == b.st_dev && a.st_ino == b.st_ino) ? NamespaceCheck::kSame
                                                        : NamespaceCheck::kDifferent;
}

bool InMachineNetNamespace(const std::string& procRoot) {
  const std::string self = procRoot + "/self/ns/net";
  std::vector<std::string> references = {procRoot + "/1/ns/net"};
  std::string comm;
  std::getline(std::ifstream(procRoot + "/2/comm"), comm);
  if (comm == "kthreadd") references.push_back(procRoot + "/2/ns/net");
  bool compared = false;
  for (const std::string& reference : references) {
    switch (CompareNamespaces(self, reference)) {
      case NamespaceCheck::kSame:
        return true;
      case NamespaceCheck::kDifferent:
        compared = true;
        break;
      case NamespaceCheck::kUnknown:
        break;
    }
  }
  return !compared;
}

std::optional<InterfaceFacts> FindInterface(const std::string& name, const std::string& address) {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return std::nullopt;
  std::optional<InterfaceFacts> found;
  for (ifaddrs* it = list; it != nullptr && !found; it = it->ifa_next) {
    if (it->ifa_addr == nullptr || it->ifa_addr->sa_family != AF_INET) continue;
    if ((it->ifa_flags & IFF_LOOPBACK) != 0 || (it->ifa_flags & IFF_UP) == 0) continue;
    if (!name.empty() && name != it->ifa_name) continue;
    const std::string dotted = DottedOf(it->ifa_addr);
    if (!address.empty() && address != dotted) continue;
    InterfaceFacts facts;
    facts.name = it->ifa_name;
    facts.address = dotted;
    facts.netmask = it->ifa_netmask != nullptr ? DottedOf(it->ifa_netmask) : "255.255.255.0";
    found = facts;
  }
  ::freeifaddrs(list);
  return found;
}

std::string DefaultGateway() {
  // Columns: Iface Destination Gateway Flags RefCnt Use Metric Mask ...; the
  // addresses are hexadecimal in the machine's byte order.
  std::ifstream routes("/proc/net/route");
  std::string line;
  std::getline(routes, line);
  while (std::getline(routes, line)) {
    std::istringstream fields(line);
    std::string iface, destination, gateway, flags, refCnt, use, metric, mask;
    fields >> iface >> destination >> gateway >> flags >> refCnt >> use >> metric >> mask;
    if (destination != "00000000" || mask != "00000000") continue;
    in_addr addr{};
    addr.s_addr = static_cast<std::uint32_t>(std::stoul(gateway, nullptr, 16));
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &addr, text, sizeof text);
    return text;
  }
  return "0.0.0.0";
}

int RunProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) return -1;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    // The simulator blocks its stop signals outside ppoll; the child must not
    // inherit that mask through exec.
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // `ip` lives in sbin, which a non-login PATH may leave out.
    if (argv[0] == "ip") {
      for (const char* path : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"}) {
        ::execv(path, args.data());
      }
    }
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool MoveToAddress(const std::string& iface, const std::string& address, int prefix,
                   const std::string& gateway, std::string& error) {
  const std::string cidr = address + "/" + std::to_string(prefix);
  std::vector<std::vector<std::string>> steps = {
      {"ip", "-4", "addr", "flush", "dev", iface},
      {"ip", "-4", "addr", "add", cidr, "broadcast", "+", "dev", iface},
  };
  // The flush took the old default route with the old address. "onlink" lets
  // a gateway outside the new subnet stand, as a device would accept it.
  if (IsUnsetGateway(gateway)) {
    steps.push_back({"ip", "-4", "route", "replace", "default", "dev", iface});
  } else {
    steps.push_back(
        {"ip", "-4", "route", "replace", "default", "via", gateway, "dev", iface, "onlink"});
  }
  for (const auto& step : steps) {
    const int status = RunProgram(step);
    if (status != 0) {
      std::string command;
      for (const std::string& word : step) command += (command.empty() ? "" : " ") + word;
      error = "\"" + command + "\" exited with " + std::to_string(status);
      return false;
    }
  }
  return true;
}

}  // namespace orvane::devsim

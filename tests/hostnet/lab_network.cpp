#include "tests/hostnet/lab_network.h"

#include <fcntl.h>
#include <ifaddrs.h>
#include <linux/if_link.h>
#include <net/if.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace orvane::lab {
namespace {

ProbeMethod labProbeMethod = ProbeMethod::Auto;

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) {
    words.push_back(word);
  }
  return words;
}

}  // namespace

std::string RefusalToRun() {
  struct stat self {};
  if (::stat("/proc/self/ns/net", &self) != 0) {
    return "cannot read /proc/self/ns/net";
  }
  // Unreadable on some hosts even for root; then the other two checks decide.
  struct stat init {};
  if (::stat("/proc/1/ns/net", &init) == 0 && init.st_dev == self.st_dev &&
      init.st_ino == self.st_ino) {
    return "this is the machine's own network namespace";
  }
  const char* outer = std::getenv("ORVANE_LAB_OUTER_NETNS");
  if (outer == nullptr || *outer == '\0') {
    return "not started by in_netns.sh (ORVANE_LAB_OUTER_NETNS is not set)";
  }
  if (std::to_string(self.st_ino) == outer) {
    return "still in the namespace in_netns.sh was started from";
  }
  const char* allowedText = std::getenv("ORVANE_LAB_INTERFACES");
  const std::vector<std::string> allowed = Words(allowedText ? allowedText : "");
  struct if_nameindex* names = ::if_nameindex();
  if (names == nullptr) {
    return "cannot list the interfaces";
  }
  std::string stranger;
  for (const struct if_nameindex* n = names; n->if_index != 0; ++n) {
    bool known = false;
    for (const std::string& a : allowed) {
      known = known || a == n->if_name;
    }
    if (!known) {
      stranger = n->if_name;
      break;
    }
  }
  ::if_freenameindex(names);
  if (!stranger.empty()) {
    return "interface " + stranger + " was not made by in_netns.sh";
  }
  return {};
}

ProbeMethod LabProbeMethod() {
  return labProbeMethod;
}

void SetLabProbeMethod(ProbeMethod method) {
  labProbeMethod = method;
}

std::uint64_t IcmpCounter(const char* name) {
  std::ifstream snmp("/proc/net/snmp");
  std::vector<std::string> names;
  for (std::string line; std::getline(snmp, line);) {
    if (line.rfind("Icmp:", 0) != 0) {
      continue;
    }
    if (names.empty()) {
      names = Words(line);
      continue;
    }
    const std::vector<std::string> values = Words(line);
    for (std::size_t i = 1; i < names.size() && i < values.size(); ++i) {
      if (names[i] == name) {
        return std::stoull(values[i]);
      }
    }
  }
  return ~std::uint64_t{0};
}

std::uint64_t TxPackets(const char* interfaceName) {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) {
    return ~std::uint64_t{0};
  }
  std::uint64_t packets = ~std::uint64_t{0};
  for (const ifaddrs* e = list; e != nullptr; e = e->ifa_next) {
    if (e->ifa_addr != nullptr && e->ifa_addr->sa_family == AF_PACKET && e->ifa_data != nullptr &&
        std::strcmp(e->ifa_name, interfaceName) == 0) {
      packets = static_cast<const rtnl_link_stats*>(e->ifa_data)->tx_packets;
    }
  }
  ::freeifaddrs(list);
  return packets;
}

int OpenSocketInRouter(int type, int protocol) {
  const char* path = std::getenv("ORVANE_LAB_PEER_NETNS");
  if (path == nullptr) {
    return -1;
  }
  const int nsFd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (nsFd < 0) {
    return -1;
  }
  int fd = -1;
  // setns changes the namespace of the calling thread only, so a helper
  // thread makes the socket and the rest of the test stays where it is.
  std::thread maker([&] {
    if (::setns(nsFd, CLONE_NEWNET) == 0) {
      fd = ::socket(AF_INET, type | SOCK_CLOEXEC, protocol);
    }
  });
  maker.join();
  ::close(nsFd);
  return fd;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double CpuMilliseconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

}  // namespace orvane::lab

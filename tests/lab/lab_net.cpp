#include "tests/lab/lab_net.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "tools/devsim/devsim_host.h"
#include "tools/devsim/devsim_log.h"

namespace orvane::lab {

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in Endpoint(const std::string& address, int port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  inet_pton(AF_INET, address.c_str(), &addr.sin_addr);
  return addr;
}

int RemainingMs(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<milliseconds>(end - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

ReplyReceiver::ReplyReceiver() : opened_(Clock::now()) {
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd_ < 0) return;
  const sockaddr_in any = Endpoint("0.0.0.0", 12310);
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
    std::perror("bind UDP 12310");
    ::close(fd_);
    fd_ = -1;
  }
}

ReplyReceiver::~ReplyReceiver() {
  if (fd_ >= 0) ::close(fd_);
}

std::vector<Datagram> ReplyReceiver::Collect(milliseconds window) {
  return CollectUntil([](const std::vector<Datagram>&) { return false; }, window);
}

std::vector<Datagram> ReplyReceiver::CollectUntil(
    const std::function<bool(const std::vector<Datagram>&)>& done, milliseconds limit) {
  std::vector<Datagram> got;
  const Clock::time_point end = Clock::now() + limit;
  std::string buffer(65536, '\0');
  while (fd_ >= 0 && !done(got)) {
    pollfd fd{fd_, POLLIN, 0};
    const int ready = ::poll(&fd, 1, RemainingMs(end));
    if (ready <= 0) break;
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const ssize_t n = ::recvfrom(fd_, buffer.data(), buffer.size(), 0,
                                 reinterpret_cast<sockaddr*>(&from), &length);
    if (n < 0) continue;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
    got.push_back({buffer.substr(0, static_cast<std::size_t>(n)), text, ntohs(from.sin_port),
                   std::chrono::duration_cast<milliseconds>(Clock::now() - opened_)});
  }
  return got;
}

std::string SendRequest(std::string_view bytes, const std::string& address, int port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd < 0) return std::string("socket: ") + std::strerror(errno);
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  const sockaddr_in to = Endpoint(address, port);
  const ssize_t n = ::sendto(fd, bytes.data(), bytes.size(), 0,
                             reinterpret_cast<const sockaddr*>(&to), sizeof to);
  const int error = errno;
  ::close(fd);
  if (n != static_cast<ssize_t>(bytes.size()))
    return std::string("sendto: ") + std::strerror(error);
  return "";
}

std::thread StartInNamespace(const std::string& ns, std::function<void(bool entered)> work) {
  return std::thread([ns, work = std::move(work)] {
    const int fd = ::open(("/run/netns/" + ns).c_str(), O_RDONLY | O_CLOEXEC);
    // setns moves the calling thread only.
    const bool entered = fd >= 0 && ::setns(fd, CLONE_NEWNET) == 0;
    if (fd >= 0) ::close(fd);
    work(entered);
  });
}

bool AnswersPing(const std::string& address, milliseconds timeout) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd < 0) {
    std::perror("ICMP datagram socket");
    return false;
  }
  static std::uint16_t sequence = 0;
  const std::uint16_t mine = ++sequence;
  icmphdr request{};
  request.type = ICMP_ECHO;
  request.un.echo.sequence = htons(mine);  // the kernel fills in the identifier
  const sockaddr_in to = Endpoint(address, 0);
  bool answered = false;
  if (::sendto(fd, &request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&to),
               sizeof to) == static_cast<ssize_t>(sizeof request)) {
    const Clock::time_point end = Clock::now() + timeout;
    while (!answered) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, RemainingMs(end)) <= 0) break;
      icmphdr reply{};
      sockaddr_in from{};
      socklen_t length = sizeof from;
      const ssize_t n =
          ::recvfrom(fd, &reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&from), &length);
      // Datagram ICMP sockets only see replies to their own identifier; the
      // sequence and the source rule out stale replies to an earlier probe.
      answered = n >= static_cast<ssize_t>(sizeof reply) && reply.type == ICMP_ECHOREPLY &&
                 ntohs(reply.un.echo.sequence) == mine &&
                 from.sin_addr.s_addr == to.sin_addr.s_addr;
    }
  }
  ::close(fd);
  return answered;
}

std::optional<std::string> Capture(const std::vector<std::string>& argv) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    ::dup2(pipeFds[1], STDOUT_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  std::string out;
  char chunk[4096];
  ssize_t n;
  while ((n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) out.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return out;
}

std::vector<std::string> NamespaceAddresses(const std::string& ns, const std::string& iface) {
  // "ip -o" prints one line per address: "2: eth0    inet 10.20.30.40/24 brd ...".
  const auto out = Capture({"ip", "-n", ns, "-4", "-o", "addr", "show", "dev", iface});
  std::vector<std::string> addresses;
  if (!out) return addresses;
  std::istringstream lines(*out);
  std::string word;
  while (lines >> word) {
    if (word == "inet" && lines >> word) addresses.push_back(word);
  }
  return addresses;
}

std::string Lab(const std::string& name) {
  const char* value = std::getenv(("LAB_" + name).c_str());
  return value != nullptr ? value : "";
}

LogTail::LogTail(std::string path) : path_(std::move(path)) {
  std::ifstream in(path_, std::ios::binary | std::ios::ate);
  offset_ = in ? static_cast<long long>(in.tellg()) : 0;
}

std::vector<std::string> LogTail::NewLines() const {
  std::ifstream in(path_, std::ios::binary);
  in.seekg(offset_);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::vector<std::string> LogTail::NewReceived() const {
  std::vector<std::string> received;
  for (const std::string& line : NewLines()) {
    if (line.find(" RECV ") != std::string::npos) received.push_back(line);
  }
  return received;
}

std::string ExpectedReceivedTail(std::string_view bytes) {
  return " len=" + std::to_string(bytes.size()) + " hex=" + devsim::HexOf(bytes) + " text=\"" +
         devsim::PrintableOf(bytes) + "\"";
}

bool InsideLab() {
  if (devsim::InMachineNetNamespace()) {
    std::fputs(
        "This lab test broadcasts; it runs only inside the lab's network namespaces.\n"
        "Run it through ctest -L lab or scripts/lab.sh (skipped: exit 77).\n",
        stderr);
    return false;
  }
  if (Lab("PC_NS").empty()) {
    std::fputs("No LAB_PC_NS: not started by scripts/lab.sh (skipped: exit 77).\n", stderr);
    return false;
  }
  return true;
}

}  // namespace orvane::lab

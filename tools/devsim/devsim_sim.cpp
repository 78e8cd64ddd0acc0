#include "tools/devsim/devsim_sim.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "tools/devsim/devsim_host.h"

namespace orvane::devsim {

namespace {

volatile std::sig_atomic_t gStopSignal = 0;

void OnStopSignal(int signal) {
  gStopSignal = signal;
}

sockaddr_in Endpoint(const std::string& dotted, int port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  inet_pton(AF_INET, dotted.c_str(), &addr.sin_addr);
  return addr;
}

}  // namespace

Simulator::Simulator(SimOptions options, DatagramLog& log)
    : options_(std::move(options)), log_(log) {}

Simulator::~Simulator() {
  if (fd_ >= 0) ::close(fd_);
}

void Simulator::CompleteFacts() {
  for (DeviceBehaviour& device : options_.devices) {
    DeviceFacts& facts = device.facts;
    const auto iface = FindInterface(device.interfaceName, facts.address);
    if (facts.address.empty()) facts.address = iface ? iface->address : "0.0.0.0";
    if (facts.netmask.empty()) facts.netmask = iface ? iface->netmask : "255.255.255.0";
    if (facts.gateway.empty()) facts.gateway = DefaultGateway();
    if (device.interfaceName.empty() && iface) device.interfaceName = iface->name;
  }
}

bool Simulator::OpenSocket() {
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd_ < 0) return false;
  const int on = 1;
  // Several simulators in one namespace share the port; each of them gets
  // every broadcast request.
  ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  const sockaddr_in any = Endpoint("0.0.0.0", kRequestPort);
  return ::bind(fd_, reinterpret_cast<const sockaddr*>(&any), sizeof any) == 0;
}

int Simulator::Run() {
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGHUP);
  sigset_t waitMask;
  // Stop signals are only let in while ppoll waits, so none can slip in
  // between the check of gStopSignal and the wait.
  ::sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
  sigdelset(&waitMask, SIGTERM);
  sigdelset(&waitMask, SIGINT);
  sigdelset(&waitMask, SIGHUP);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);

  if (!OpenSocket()) {
    log_.Event("ERROR", std::string("cannot listen on UDP port 12311: ") + std::strerror(errno));
    return 3;
  }
  std::string ready = "pid=" + std::to_string(::getpid()) +
                      " port=" + std::to_string(kRequestPort) +
                      " devices=" + std::to_string(options_.devices.size());
  for (const DeviceBehaviour& device : options_.devices) {
    ready += " id=\"" + PrintableOf(device.facts.identity) + "\"@" + device.facts.address;
  }
  log_.Event("READY", ready);

  const Clock::time_point end = Clock::now() + std::chrono::seconds(options_.lifetimeSeconds);
  while (gStopSignal == 0) {
    const Clock::time_point now = Clock::now();
    if (now >= end) {
      log_.Event("EXIT", "reason=lifetime");
      return 0;
    }
    Clock::time_point wake = end;
    for (const Pending& p : pending_) wake = std::min(wake, p.due);
    const auto wait = std::max(Clock::duration::zero(), wake - now);
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    timespec timeout{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    pollfd fd{fd_, POLLIN, 0};
    const int ready = ::ppoll(&fd, 1, &timeout, &waitMask);
    if (ready < 0 && errno != EINTR) {
      log_.Event("ERROR", std::string("poll: ") + std::strerror(errno));
      return 3;
    }
    if (ready > 0) ReceiveAll();
    SendDue();
  }
  log_.Event("EXIT", "reason=signal " + std::to_string(gStopSignal));
  return 0;
}

void Simulator::ReceiveAll() {
  std::string buffer(65536, '\0');
  for (;;) {
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = ::recvfrom(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n < 0) return;
    const std::string bytes = buffer.substr(0, static_cast<std::size_t>(n));
    log_.Received(from, bytes);
    Handle(from, bytes);
  }
}

void Simulator::Handle(const sockaddr_in& from, const std::string& bytes) {
  // Only the exact five bytes count as a discovery request: a wizard that
  // sent a terminating NUL or a line end would find no device in the lab.
  const bool discovery = bytes == kDiscoveryRequest;
  for (DeviceBehaviour& device : options_.devices) {
    if (discovery) {
      if (!device.silentDiscovery) AnswerDiscovery(device, from);
      continue;
    }
    ConfigRequest request;
    const ConfigParse parse = ParseConfigRequest(bytes, device.facts.identity, request);
    if (parse != ConfigParse::kNotForMe && !device.silentConfig) {
      AnswerConfig(device, parse, request, from);
    }
  }
}

void Simulator::AnswerDiscovery(DeviceBehaviour& device, const sockaddr_in& from) {
  const std::string reply =
      device.discoveryRaw ? *device.discoveryRaw : ComposeDiscoveryReply(device.facts);
  Queue(device, from, reply, device.discoveryDelayMs);
}

void Simulator::AnswerConfig(DeviceBehaviour& device, ConfigParse parse,
                             const ConfigRequest& request, const sockaddr_in& from) {
  char status = '1';
  if (parse == ConfigParse::kMalformed) {
    log_.Event("CONFIG",
               "id=\"" + PrintableOf(device.facts.identity) + "\" malformed request status=1");
  } else {
    status = Configure(device, request);
  }
  const std::string reply =
      device.configRaw ? *device.configRaw : ComposeConfigReply(device.facts.identity, status);
  if (device.loseConfigReply) {
    // The device has done all it would do; only its answer goes missing, as
    // when it is lost on the LAN. The log tells a test that the device acted.
    log_.Event("LOST", "id=\"" + PrintableOf(device.facts.identity) + "\" reply=\"" +
                           PrintableOf(reply) + "\"");
    return;
  }
  Queue(device, from, reply, device.configDelayMs);
}

char Simulator::Configure(DeviceBehaviour& device, const ConfigRequest& request) {
  const std::string who = "id=\"" + PrintableOf(device.facts.identity) + "\" user=\"" +
                          PrintableOf(request.userName) + "\" password=\"" +
                          PrintableOf(request.password) + "\"";
  if (request.credentials != device.userName + ";" + device.password) {
    log_.Event("CONFIG", who + " wrong credentials status=1");
    return '1';
  }
  if (device.apply) {
    const auto prefix = MaskPrefixLength(request.netmask);
    in_addr parsed{};
    std::string error;
    if (!prefix) {
      error = "bad netmask \"" + PrintableOf(request.netmask) + "\"";
    } else if (inet_pton(AF_INET, request.address.c_str(), &parsed) != 1) {
      error = "bad address \"" + PrintableOf(request.address) + "\"";
    } else if (device.interfaceName.empty()) {
      error = "no interface to apply to (give --interface)";
    } else if (MoveToAddress(device.interfaceName, request.address, *prefix, request.gateway,
                             error)) {
      log_.Event("APPLY", "id=\"" + PrintableOf(device.facts.identity) +
                              "\" dev=" + device.interfaceName + " addr=" + request.address + "/" +
                              std::to_string(*prefix) + " gateway=" + request.gateway);
    }
    if (!error.empty()) {
      log_.Event("CONFIG", who + " apply failed: " + error + " status=1");
      return '1';
    }
  }
  // From now on the device reports what it was given, as a real one would.
  device.facts.address = request.address;
  device.facts.netmask = request.netmask;
  device.facts.gateway = request.gateway;
  device.facts.hostName = request.hostName;
  device.facts.workgroup = request.workgroup;
  device.facts.hostNameFull = request.hostNameFull;
  log_.Event("CONFIG", who + " accepted addr=" + PrintableOf(request.address) + " status=2");
  return '2';
}

void Simulator::Queue(const DeviceBehaviour& device, const sockaddr_in& from,
                      const std::string& reply, int delayMs) {
  sockaddr_in to{};
  switch (device.replyTarget) {
    case ReplyTarget::kBroadcast:
      to = Endpoint("255.255.255.255", kReplyPort);
      break;
    case ReplyTarget::kAddress:
      to = Endpoint(device.replyAddress, kReplyPort);
      break;
    case ReplyTarget::kSender:
      // The sender's address, but never its source port: the wizard's
      // sending socket is closed by now and only port 12310 listens.
      to = from;
      to.sin_port = htons(kReplyPort);
      break;
  }
  const Clock::time_point due = Clock::now() + std::chrono::milliseconds(delayMs);
  // Junk restarts at the first kind for every reply, so what a test sees does
  // not depend on the requests that came before.
  for (int i = 0; i < device.junkCount; ++i) {
    pending_.push_back({due, device.facts.identity, to, JunkDatagram(i)});
  }
  for (int i = 0; i < device.repeat; ++i) {
    pending_.push_back({due, device.facts.identity, to, reply});
  }
}

void Simulator::SendDue() {
  const Clock::time_point now = Clock::now();
  // Sent in the order queued, so junk goes out ahead of its reply.
  auto notDue = std::stable_partition(pending_.begin(), pending_.end(),
                                      [now](const Pending& p) { return p.due <= now; });
  for (auto it = pending_.begin(); it != notDue; ++it) {
    const ssize_t n = ::sendto(fd_, it->bytes.data(), it->bytes.size(), 0,
                               reinterpret_cast<const sockaddr*>(&it->to), sizeof it->to);
    if (n < 0) {
      log_.Event("ERROR", "send to " + EndpointOf(it->to) + ": " + std::strerror(errno));
    } else {
      log_.Sent(it->identity, it->to, it->bytes);
    }
  }
  pending_.erase(pending_.begin(), notDue);
}

}  // namespace orvane::devsim

// The ICMP probe against a real network stack, inside the namespaces of
// in_netns.sh. ProbeLab runs once per echo facility (--probe-method).

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "hostnet/icmp_packet.h"
#include "hostnet/icmp_probe.h"
#include "hostnet/ipv4_text.h"
#include "tests/hostnet/lab_network.h"

namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;
using namespace lab;

ProbeResult ProbeWithLabMethod(const char* address) {
  return Probe(address, kProbeTimeout, LabProbeMethod());
}

TEST(ProbeLab, OwnAddressesAndRouterAnswer) {
  for (const char* address : {kOwnAddress, kOwnSecondAddress, kRouter, "127.0.0.1"}) {
    EXPECT_EQ(ProbeWithLabMethod(address), ProbeResult::Answered) << address;
    EXPECT_EQ(LastProbeErrno(), 0);
  }
}

TEST(ProbeLab, AbsentAddressGivesNoAnswerAfterHalfASecond) {
  for (int i = 0; i < 3; ++i) {
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(ProbeWithLabMethod(kAbsent), ProbeResult::NoAnswer);
    const double ms = MillisecondsSince(start);
    EXPECT_GE(ms, 450.0);
    EXPECT_LE(ms, 550.0);
    std::printf("absent address: NoAnswer after %.1f ms\n", ms);
  }
}

TEST(ProbeLab, AbsentAddressAfterOwnAddressStillGivesNoAnswer) {
  // The own address's request and reply, and any late copy of them, must
  // not be taken for an answer from the next address.
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(ProbeWithLabMethod(kOwnAddress), ProbeResult::Answered);
    EXPECT_EQ(ProbeWithLabMethod(kAbsent), ProbeResult::NoAnswer);
  }
}

TEST(ProbeLab, UnreachableErrorEndsProbeWithNoAnswer) {
  const std::uint64_t errorsBefore = IcmpCounter("InDestUnreachs");
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(ProbeWithLabMethod(kUnreachable), ProbeResult::NoAnswer);
  const double ms = MillisecondsSince(start);
  // The router's error came back, and the probe ended well before its time
  // was up: the error was recognised as being about this request.
  EXPECT_EQ(IcmpCounter("InDestUnreachs"), errorsBefore + 1);
  EXPECT_LT(ms, 400.0);
  std::printf("unreachable address: NoAnswer after %.1f ms\n", ms);
}

TEST(ProbeLab, InvalidTextAndLimitedBroadcastSendNothing) {
  const std::uint64_t echosBefore = IcmpCounter("OutEchos");
  const std::uint64_t txBefore = TxPackets(kAdapter);
  for (const char* text : {"255.255.255.255", "", "10.77.5", "10.77.5.9.1", "0x0a.77.5.9",
                           "10.77.5.256", "010.77.5.9", "10.77.5.9 ", "router"}) {
    EXPECT_EQ(ProbeWithLabMethod(text), ProbeResult::InvalidAddress) << '"' << text << '"';
    EXPECT_EQ(LastProbeErrno(), 0);
  }
  // A broadcast address of a network of this host: the system refuses the
  // echo, and no single host holds the address.
  EXPECT_EQ(ProbeWithLabMethod("127.255.255.255"), ProbeResult::InvalidAddress);
  EXPECT_EQ(IcmpCounter("OutEchos"), echosBefore);
  EXPECT_EQ(TxPackets(kAdapter), txBefore);

  // The counters do move when something is sent, so the check above can fail.
  ASSERT_EQ(ProbeWithLabMethod(kRouter), ProbeResult::Answered);
  EXPECT_GE(IcmpCounter("OutEchos"), echosBefore + 1);
  EXPECT_GE(TxPackets(kAdapter), txBefore + 1);
}

TEST(ProbeLab, WaitingCostsLittleCpu) {
  const double cpuBefore = CpuMilliseconds();
  const Clock::time_point start = Clock::now();
  ASSERT_EQ(ProbeWithLabMethod(kAbsent), ProbeResult::NoAnswer);
  const double wallMs = MillisecondsSince(start);
  const double cpuMs = CpuMilliseconds() - cpuBefore;
  const double percent = 100.0 * cpuMs / wallMs;
  std::printf("NoAnswer probe: %.2f ms CPU over %.1f ms (%.2f%% of a core)\n", cpuMs, wallMs,
              percent);
  EXPECT_LT(percent, 2.0);
}

TEST(DatagramProbeLab, RawRefusedSoAutoUsesDatagramSocket) {
  EXPECT_EQ(Probe(kOwnAddress, kProbeTimeout, ProbeMethod::Raw), ProbeResult::CouldNotProbe);
  EXPECT_EQ(LastProbeErrno(), EPERM);
  EXPECT_EQ(Probe(kOwnAddress, kProbeTimeout, ProbeMethod::Auto), ProbeResult::Answered);
  EXPECT_EQ(LastProbeErrno(), 0);
}

TEST(RawProbeLab, DatagramRefusedSoAutoUsesRawSocket) {
  EXPECT_EQ(Probe(kOwnAddress, kProbeTimeout, ProbeMethod::Datagram), ProbeResult::CouldNotProbe);
  EXPECT_EQ(LastProbeErrno(), EACCES);
  EXPECT_EQ(Probe(kOwnAddress, kProbeTimeout, ProbeMethod::Auto), ProbeResult::Answered);
  EXPECT_EQ(LastProbeErrno(), 0);
}

// A raw socket hears every echo reply of the namespace. While the absent
// address is probed, flood the own address with requests that carry the
// probe's identifier (the low 16 bits of the pid) and, over and over, every
// sequence number: their replies match the probe in everything but the
// source. The probe is given longer than usual so that the flood surely
// covers all 65536 sequence numbers while it listens.
TEST(RawProbeLab, RepliesFromAnotherSourceNeverMatch) {
  const int noise = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
  ASSERT_GE(noise, 0) << "raw socket: errno " << errno;
  sockaddr_in own{};
  own.sin_family = AF_INET;
  own.sin_addr.s_addr = htonl(*ParseDottedQuad(kOwnAddress));
  const auto identifier = static_cast<std::uint16_t>(::getpid() & 0xFFFF);

  std::atomic<bool> stop{false};
  std::atomic<unsigned> sent{0};
  std::thread flood([&] {
    for (unsigned sequence = 0; !stop; sequence = (sequence + 1) & 0xFFFF) {
      const std::string request =
          BuildEchoRequest(identifier, static_cast<std::uint16_t>(sequence));
      if (::sendto(noise, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&own),
                   sizeof own) > 0) {
        ++sent;
      }
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const unsigned sentBefore = sent;
  const ProbeResult result = Probe(kAbsent, std::chrono::milliseconds(3000), ProbeMethod::Raw);
  const unsigned sentDuring = sent - sentBefore;
  stop = true;
  flood.join();
  ::close(noise);

  EXPECT_EQ(result, ProbeResult::NoAnswer);
  EXPECT_GE(sentDuring, 65536u);
  std::printf("flood: %u requests to the own address during the probe\n", sentDuring);
}

TEST(CouldNotProbeLab, NoEchoFacilityGivesCouldNotProbeAndSendsNothing) {
  const std::uint64_t echosBefore = IcmpCounter("OutEchos");
  struct Case {
    ProbeMethod method;
    int error;
  };
  // Auto tries the raw socket last, so its error is the one kept.
  for (const Case c : {Case{ProbeMethod::Auto, EPERM}, Case{ProbeMethod::Datagram, EACCES},
                       Case{ProbeMethod::Raw, EPERM}}) {
    EXPECT_EQ(Probe(kOwnAddress, kProbeTimeout, c.method), ProbeResult::CouldNotProbe);
    EXPECT_EQ(LastProbeErrno(), c.error);
  }
  EXPECT_EQ(IcmpCounter("OutEchos"), echosBefore);
  // An invalid address is still reported as such, and clears the error.
  EXPECT_EQ(Probe("10.77.5"), ProbeResult::InvalidAddress);
  EXPECT_EQ(LastProbeErrno(), 0);
}

}  // namespace
}  // namespace orvane

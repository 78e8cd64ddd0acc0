// A host that drops echo requests but answers ARP, as firewalled PCs and
// printers do, holds addresses 192.168.50.30 to .140 (lab.arp): the free
// address search never takes one of them.

#include <gtest/gtest.h>

#include "device/address_search.h"
#include "device/host_services.h"
#include "hostnet/icmp_probe.h"
#include "hostnet/neighbour.h"
#include "tests/support/fake_world.h"
#include "tests/lab/lab_net.h"

namespace orvane::lab {
namespace {

std::vector<std::string> Addresses(int first, int last) {
  std::vector<std::string> out;
  for (int part = first; part <= last; ++part) out.push_back("192.168.50." + std::to_string(part));
  return out;
}

// The figure: how each address of the host, and of no host, is judged.
TEST(ArpLab, EveryAddressOfAPingDroppingHostIsInUseAndOnlyFreeOnesAreFree) {
  const std::vector<std::string> held = Addresses(30, 129);
  const std::vector<std::string> free = Addresses(200, 219);
  int silent = 0, heldByArp = 0, freeByArp = 0;
  for (const ProbeResult r : ProbeAll(held)) silent += r == ProbeResult::NoAnswer;
  for (const std::string& a : held)
    heldByArp += AskNeighbour(a, false, kProbeTimeout).answer == NeighbourAnswer::Held;
  for (const ProbeResult r : ProbeAll(free)) EXPECT_EQ(r, ProbeResult::NoAnswer);
  for (const std::string& a : free)
    freeByArp += AskNeighbour(a, false, kProbeTimeout).answer == NeighbourAnswer::Silent;
  // Where no echo can be sent, the address is resolved without one.
  EXPECT_EQ(AskNeighbour("192.168.50.135", true, kProbeTimeout).answer, NeighbourAnswer::Held);
  EXPECT_EQ(AskNeighbour("192.168.50.235", true, kProbeTimeout).answer, NeighbourAnswer::Silent);
  std::printf(
      "ping-dropping host: %d of %zu addresses silent to the echo, %d of them held by ARP; "
      "%d of %zu free addresses found free\n",
      silent, held.size(), heldByArp, freeByArp, free.size());
  EXPECT_EQ(silent, int(held.size()));
  EXPECT_EQ(heldByArp, int(held.size()));
  EXPECT_EQ(freeByArp, int(free.size()));
}

// The search itself, on this PC's real probe: candidates .31 and .32 are the
// host's, .201 is no one's.
TEST(ArpLab, TheSearchMovesOnPastTheHostsAddresses) {
  HostProber prober;
  testing::ScriptedCandidates candidates;
  candidates.values = {testing::RFor(31), testing::RFor(32), testing::RFor(201)};
  FreeAddressSearch search(prober, candidates,
                           {Lab("PC_ADDR"), Lab("PC_NETMASK"), Lab("PC_GATEWAY")});
  std::vector<std::string> inUse;
  std::optional<CandidateTry> tried;
  while ((tried = search.Next()) && tried->verdict != CandidateTry::Verdict::Free)
    inUse.push_back(tried->address);
  ASSERT_TRUE(tried);
  EXPECT_EQ(tried->address, "192.168.50.201");
  EXPECT_EQ(inUse, (std::vector<std::string>{"192.168.50.31", "192.168.50.32"}));
}

}  // namespace
}  // namespace orvane::lab

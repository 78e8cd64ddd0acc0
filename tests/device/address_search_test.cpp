// The list's answer checks and the free address search, over a scripted
// prober and candidate draw.

#include "device/address_search.h"
#include "device/codec.h"
#include "tests/device/setup_run_harness.h"

namespace orvane::testing {
namespace {

using Strings = std::vector<std::string>;

DeviceRecord Device(const std::string& reply) {
  DeviceRecord device;
  EXPECT_TRUE(ParseDiscoveryReply(reply, device)) << reply;
  return device;
}

const std::vector<Adapter> kLan{
    {"eth0", 2, {"192.168.1.10", "255.255.255.0", "192.168.1.1"}, true}};

TEST(CheckDevices, AllAtOnceInListOrderWithTheAddressTrimmedAsTheShortcutsUseIt) {
  std::string blanks = kReplyA;
  blanks.replace(blanks.find("192.168.1.20'"), 13, " 192.168.1.20 '");
  FakeProber prober;
  prober.answers = {{"192.168.1.20", ProbeResult::Answered},
                    {"10.20.30.40", ProbeResult::NoAnswer}};
  const std::vector<DeviceRecord> devices{Device(blanks), Device(kReplyB)};
  const DeviceChecks checks = CheckDevices(prober, devices, kLan);
  EXPECT_EQ(checks.reachable, (std::vector<bool>{true, false}));
  EXPECT_FALSE(checks.couldNotProbe);
  EXPECT_EQ(prober.batches, (std::vector<Strings>{{"192.168.1.20", "10.20.30.40"}}));
}

// A NAS with its own firewall drops echoes; moving it would break every share
// mapped to its address. ARP with its own hardware address on a link of this
// PC speaks for it.
TEST(CheckDevices, ADeviceThatDropsEchoesButAnswersArpAsItselfOnThePcsLinkIsReachable) {
  const HardwareAddress a = *ParseHardwareAddress(kIdA),
                        b = *ParseHardwareAddress(kReplyB.substr(5, 17));
  const auto withId = [](const char* id) { return "0C01R" + std::string(id) + kReplyA.substr(22); };
  const struct {
    std::string reply, address;
    std::optional<HardwareAddress> hardware;
    bool reachable;
  } cases[] = {
      {kReplyA, "192.168.1.20", a, true},
      {withId("00-0a-1b-2c-3d-4e"), "192.168.1.20", a, true},
      {kReplyA, "192.168.1.20", HardwareAddress{0x02, 0, 0, 0, 0, 1}, false},
      {kReplyA, "192.168.1.20", std::nullopt, false},
      {withId("00:0A-1B:2C-3D:4E"), "192.168.1.20", a, false},  // no hardware address
      {kReplyB, "10.20.30.40", b, false},                       // not on a link of this PC
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address + (c.reachable ? " reachable" : " not reachable"));
    FakeProber prober;
    prober.neighbours[c.address] = NeighbourAnswer::Held;
    if (c.hardware) prober.hardware[c.address] = *c.hardware;
    const std::vector<DeviceRecord> devices{Device(c.reply)};
    EXPECT_EQ(CheckDevices(prober, devices, kLan).reachable, std::vector<bool>{c.reachable});
  }
}

// Runs a search to its end: the address taken (empty: none) and the verdicts.
struct Search {
  std::string taken;
  std::vector<CandidateTry::Verdict> verdicts;
};
Search RunSearch(FakeProber& prober, std::vector<float> draws, const LocalSettings& pc) {
  ScriptedCandidates candidates;
  candidates.values = std::move(draws);
  FreeAddressSearch search(prober, candidates, pc);
  Search result;
  while (const std::optional<CandidateTry> tried = search.Next()) {
    result.verdicts.push_back(tried->verdict);
    if (tried->verdict == CandidateTry::Verdict::Free) result.taken = tried->address;
  }
  return result;
}

TEST(FreeAddressSearch, ACandidateThatAnswersArpIsInUseAndWithoutEchoArpAloneDecides) {
  struct Case {
    ProbeResult echo;
    std::map<std::string, NeighbourAnswer> arp;
    std::string taken;
    Strings asked;
  };
  const Case cases[] = {
      {ProbeResult::NoAnswer,
       {{"192.168.1.30", NeighbourAnswer::Held}},
       "192.168.1.31",
       {"192.168.1.30", "192.168.1.31"}},
      {ProbeResult::CouldNotProbe,
       {{"192.168.1.30", NeighbourAnswer::Held},
        {"192.168.1.31", NeighbourAnswer::Unknown},
        {"192.168.1.32", NeighbourAnswer::Silent}},
       "192.168.1.32",
       {"+192.168.1.30", "+192.168.1.31", "+192.168.1.32"}},
      {ProbeResult::Answered, {}, "", {}},
  };
  for (const Case& c : cases) {
    FakeProber prober;
    prober.otherwise = c.echo;
    prober.neighbours = c.arp;
    const Search search = RunSearch(prober, {RFor(30), RFor(31), RFor(32)}, kLan[0].settings);
    EXPECT_EQ(search.taken, c.taken);
    EXPECT_EQ(prober.asked, c.asked);
    // Twenty draws at most, the search ends with the first free one.
    EXPECT_EQ(search.verdicts.size(),
              c.taken.empty() ? std::size_t(kAddressCandidates) : c.asked.size());
  }
}

TEST(FreeAddressSearch, NeverOffersThisPcsOwnGatewayNetworkOrBroadcastAddress) {
  // 192.168.1.70/26: .64 to .127; .65 is the gateway.
  FakeProber prober;
  const Search search = RunSearch(prober, {RFor(70), RFor(65), RFor(127), RFor(100)},
                                  {"192.168.1.70", "255.255.255.192", "192.168.1.65"});
  EXPECT_EQ(search.taken, "192.168.1.100");
  EXPECT_EQ(prober.probed, Strings{"192.168.1.100"}) << "the three are not even probed";
  EXPECT_EQ(search.verdicts[0], CandidateTry::Verdict::NeverOffered);
}

}  // namespace
}  // namespace orvane::testing

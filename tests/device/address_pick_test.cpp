// The candidate draw of the free address search.

#include "device/address_pick.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace orvane {
namespace {

// Hands out the given values of r in turn and counts the draws.
class ScriptedSource final : public CandidateSource {
 public:
  explicit ScriptedSource(std::vector<float> values) : values_(std::move(values)) {}
  float NextUnit() override { return values_.at(draws_++ % values_.size()); }
  std::size_t draws() const { return draws_; }

 private:
  std::vector<float> values_;
  std::size_t draws_ = 0;
};

// An r for which 253 * r + 1, worked out in single precision, is exactly `tie`.
float UnitGivingExactly(float tie) {
  float r = (tie - 1.0f) / 253.0f;
  for (int step = 0; step < 4096; ++step) r = std::nextafter(r, 0.0f);
  for (int step = 0; step < 8192; ++step, r = std::nextafter(r, 1.0f)) {
    const float scaled = 253.0f * r + 1.0f;
    if (scaled == tie) return r;
  }
  return std::numeric_limits<float>::quiet_NaN();
}

// The nearest r towards `direction` whose 253 * r + 1 is no longer the tie
// (several neighbouring r round to the same single-precision product).
float StepOffTie(float r, float tie, float direction) {
  while (253.0f * r + 1.0f == tie) r = std::nextafter(r, direction);
  return r;
}

TEST(AddressPick, TiesGoToTheEvenLastPart) {
  struct Case {
    float tie;
    int expected;
  };
  const Case cases[] = {{1.5f, 2},     {2.5f, 2},     {3.5f, 4},     {4.5f, 4},
                        {127.5f, 128}, {128.5f, 128}, {200.5f, 200}, {253.5f, 254}};
  for (const Case& c : cases) {
    const float r = UnitGivingExactly(c.tie);
    ASSERT_FALSE(std::isnan(r)) << "no r gives " << c.tie;
    EXPECT_EQ(LastPartFor(r), c.expected) << c.tie;
    // Just either side of the tie the nearest integer wins.
    EXPECT_EQ(LastPartFor(StepOffTie(r, c.tie, 0.0f)), static_cast<int>(c.tie)) << c.tie;
    EXPECT_EQ(LastPartFor(StepOffTie(r, c.tie, 1.0f)), static_cast<int>(c.tie) + 1) << c.tie;
  }
}

TEST(AddressPick, LastPartStaysWithin1To254) {
  const float belowOne = std::nextafter(1.0f, 0.0f);
  EXPECT_EQ(LastPartFor(0.0f), 1);
  EXPECT_EQ(LastPartFor(0.5f), 128);  // 127.5
  EXPECT_EQ(LastPartFor(belowOne), 254);
  // Out-of-range r from a faulty source is clamped, never 0 or 255.
  EXPECT_EQ(LastPartFor(-0.25f), 1);
  EXPECT_EQ(LastPartFor(1.0f), 254);
  EXPECT_EQ(LastPartFor(7.0f), 254);
  EXPECT_EQ(LastPartFor(std::numeric_limits<float>::quiet_NaN()), 1);
  EXPECT_EQ(LastPartFor(std::numeric_limits<float>::infinity()), 254);

  RandomCandidateSource source(7);
  for (int draw = 0; draw < 200000; ++draw) {
    const float r = source.NextUnit();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    const int part = LastPartFor(r);
    ASSERT_GE(part, 1);
    ASSERT_LE(part, 254);
  }
}

TEST(AddressPick, EndPartsComeHalfAsOften) {
  RandomCandidateSource source(20040429);
  std::array<int, 256> counts{};
  constexpr int kDraws = 253 * 2000;
  for (int draw = 0; draw < kDraws; ++draw) ++counts[LastPartFor(source.NextUnit())];

  EXPECT_EQ(counts[0], 0);
  EXPECT_EQ(counts[255], 0);
  const double inner = kDraws / 253.0;  // expected count of each of 2..253
  for (int part = 2; part <= 253; ++part) {
    EXPECT_NEAR(counts[part], inner, 0.15 * inner) << part;
  }
  EXPECT_NEAR(counts[1] / inner, 0.5, 0.1);
  EXPECT_NEAR(counts[254] / inner, 0.5, 0.1);
}

TEST(AddressPick, KeepsTheFirstThreePartsAsText) {
  struct Case {
    const char* local;
    float r;
    const char* expected;
  };
  const Case cases[] = {
      {"192.168.1.10", 0.5f, "192.168.1.128"},
      {"192.168.1.10", 0.0f, "192.168.1.1"},
      {"192.168.1.10", std::nextafter(1.0f, 0.0f), "192.168.1.254"},
      {"10.0.0.5", 0.024f, "10.0.0.7"},            // 7.072: no leading zeros
      {"010.001.002.3", 0.5f, "010.001.002.128"},  // kept exactly as written
      {" 1.2.3.4 ", 0.5f, " 1.2.3.128"},
      {"a.b.c.d", 0.5f, "a.b.c.128"},
      {"1.2.3.", 0.5f, "1.2.3.128"},  // empty last part still counts
      {"...", 0.5f, "...128"},        // four empty parts
      {"0.0.0.0", 0.5f, "0.0.0.128"},
  };
  for (const Case& c : cases) {
    ScriptedSource source({c.r});
    const Candidate candidate = PickRandomAddress(c.local, source);
    EXPECT_TRUE(candidate.settingsValid) << c.local;
    EXPECT_EQ(candidate.address, c.expected) << c.local;
    EXPECT_EQ(source.draws(), 1u) << c.local;
  }
}

TEST(AddressPick, OtherThanFourPartsGivesTheInvalidCandidate) {
  for (const char* local : {"", "1.2.3", "1.2.3.4.5", "192168110", "....", ".", "1..2"}) {
    ScriptedSource source({0.5f});
    const Candidate candidate = PickRandomAddress(local, source);
    EXPECT_FALSE(candidate.settingsValid) << local;
    EXPECT_EQ(candidate.address, "0.0.0.0") << local;
    EXPECT_EQ(source.draws(), 0u) << local;
  }
}

TEST(AddressPick, SuccessiveDrawsDiffer) {
  // Twenty draws in quick succession, as the search makes them: with a
  // per-draw reseed from the clock these all came out the same.
  RandomCandidateSource source;
  std::set<std::string> seen;
  for (int draw = 0; draw < 20; ++draw) {
    seen.insert(PickRandomAddress("192.168.1.10", source).address);
  }
  EXPECT_GT(seen.size(), 1u);

  // Two sources made back to back are seeded independently.
  RandomCandidateSource first;
  RandomCandidateSource second;
  std::vector<float> a;
  std::vector<float> b;
  for (int draw = 0; draw < 8; ++draw) {
    a.push_back(first.NextUnit());
    b.push_back(second.NextUnit());
  }
  EXPECT_NE(a, b);
}

TEST(AddressPick, AFixedSourceGivesItsLastPartEveryTime) {
  for (int part = 1; part <= 254; ++part) {
    FixedCandidateSource source(static_cast<std::uint8_t>(part));
    EXPECT_EQ(PickRandomAddress("10.1.2.3", source).address, "10.1.2." + std::to_string(part));
    EXPECT_EQ(LastPartFor(source.NextUnit()), part) << "and again";
  }
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(NeverCandidate, OwnGatewayNetworkAndBroadcastByTheMask) {
  const LocalSettings c24{"192.168.1.10", "255.255.255.0", "192.168.1.1"};
  const LocalSettings c26{"192.168.1.70", "255.255.255.192", "192.168.1.65"};
  const LocalSettings b16{"10.0.0.5", "255.255.0.0", "10.0.0.1"};
  const struct {
    std::string candidate;
    LocalSettings pc;
    bool never;
    const char* why;
  } cases[] = {
      {"192.168.1.10", c24, true, "this PC's own"},
      {"192.168.1.1", c24, true, "the gateway"},
      {"192.168.1.0", c24, true, "the network address"},
      {"192.168.1.254", c24, false, "an ordinary address"},
      {"192.168.1.64", c26, true, "network of .64/26"},
      {"192.168.1.127", c26, true, "broadcast of .64/26"},
      {"192.168.1.63", c26, false, "another subnet's broadcast is no business of this one"},
      {"10.0.0.255", b16, false, "an ordinary address of a /16"},
      {"192.168.1.11", {"192.168.1.10", "255.255.255.254", ""}, false, "a /31 has neither"},
      {"192.168.1.9", {"192.168.1.10", "255.0.255.0", ""}, false, "no run of ones"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsNeverCandidate(c.candidate, c.pc), c.never) << c.candidate << ": " << c.why;
}

}  // namespace
}  // namespace orvane

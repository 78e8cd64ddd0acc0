#pragma once
// The candidate draw of the free address search: an address that shares the
// first three parts of the PC's address and has a pseudo-random last part.

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "hostnet/adapter_settings.h"

namespace orvane {

inline constexpr std::string_view kInvalidCandidate = "0.0.0.0";

// Where the draw gets its r (0 <= r < 1) from. Tests inject a scripted source.
class CandidateSource {
 public:
  virtual ~CandidateSource();
  virtual float NextUnit() = 0;
};

// Seeded once, on construction. Seeding from the clock before every draw would
// give the same candidate for draws within one clock tick, so a search could
// probe one busy address over and over.
class RandomCandidateSource final : public CandidateSource {
 public:
  RandomCandidateSource();                             // seeded from std::random_device
  explicit RandomCandidateSource(std::uint32_t seed);  // reproducible, for tests
  float NextUnit() override;

 private:
  std::mt19937 engine_;
};

// The integer nearest to 253 * r + 1, a tie to the even one: 1 to 254, never 0 or
// 255, with 1 and 254 half as likely as the others. 253 * r + 1 is worked out in
// single precision, since r is a single-precision number and the rounding of that
// product is part of the rule, so ties do occur (253 * r + 1 == 2.5f gives 2). An r outside [0, 1]
// (or NaN) is clamped into it.
std::uint8_t LastPartFor(float r);

// Always the r that gives `lastPart` (1 to 254): a search that is to try one
// given address, and take it only when it is proven free.
class FixedCandidateSource final : public CandidateSource {
 public:
  explicit FixedCandidateSource(std::uint8_t lastPart);
  float NextUnit() override { return r_; }

 private:
  float r_;
};

struct Candidate {
  std::string address;  // "0.0.0.0" when !settingsValid
  bool settingsValid = false;
};

// Splits `localAddress` at every '.', empty parts included. With exactly four
// parts the first three are kept as text exactly as they stand and the last is
// replaced by LastPartFor(source.NextUnit()): "10.0.0.5" gives "10.0.0.x" and
// "..." gives "...x". Otherwise returns "0.0.0.0" with settingsValid false,
// without drawing; telling the user is the caller's job.
Candidate PickRandomAddress(std::string_view localAddress, CandidateSource& source);

// Addresses that are never handed out, whatever a probe would say: this PC's
// own, its gateway, and the network and broadcast addresses of its subnet by
// its mask (with 255.255.255.192 that is .0, .63, .64, .127, .128 ... as the
// PC's address decides), which no device can use. A /31 or /32 mask, or one
// that is not a run of ones, has no such addresses.
bool IsNeverCandidate(std::string_view candidate, const LocalSettings& pc);

}  // namespace orvane

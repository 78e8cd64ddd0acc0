#include "device/address_pick.h"

#include <cmath>
#include <cstddef>

#include "hostnet/ipv4_text.h"

namespace orvane {

namespace {

constexpr float kLastPartSpan = 253.0f;
constexpr std::size_t kAddressParts = 4;
// 2^-24: turns the top 24 bits of an engine word into a float in [0, 1).
constexpr float kUnitStep = 1.0f / 16777216.0f;

}  // namespace

CandidateSource::~CandidateSource() = default;

RandomCandidateSource::RandomCandidateSource() : engine_(std::random_device{}()) {}

RandomCandidateSource::RandomCandidateSource(std::uint32_t seed) : engine_(seed) {}

float RandomCandidateSource::NextUnit() {
  // 24 random bits fill a float's mantissa exactly: every value k / 2^24 is
  // equally likely and 1.0f cannot come out, which uniform_real_distribution<float>
  // does not promise on every standard library.
  return static_cast<float>(engine_() >> 8) * kUnitStep;
}

std::uint8_t LastPartFor(float r) {
  if (!(r >= 0.0f)) r = 0.0f;  // also NaN
  if (r > 1.0f) r = 1.0f;
  // Kept in a float on purpose: the rounding of the product belongs to the rule.
  const float scaled = kLastPartSpan * r + 1.0f;
  const double value = scaled;
  const double below = std::floor(value);
  const double rest = value - below;  // exact: value has at most 24 significant bits
  double nearest = below;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0)) nearest = below + 1.0;
  return static_cast<std::uint8_t>(nearest);
}

FixedCandidateSource::FixedCandidateSource(std::uint8_t lastPart)
    : r_(float(lastPart - 1) / kLastPartSpan) {}

Candidate PickRandomAddress(std::string_view localAddress, CandidateSource& source) {
  std::size_t dots = 0;
  std::size_t lastDot = 0;
  for (std::size_t i = 0; i < localAddress.size(); ++i) {
    if (localAddress[i] == '.') {
      ++dots;
      lastDot = i;
    }
  }
  if (dots != kAddressParts - 1) return Candidate{std::string(kInvalidCandidate), false};

  Candidate candidate;
  candidate.address.assign(localAddress.substr(0, lastDot + 1));
  candidate.address.append(std::to_string(LastPartFor(source.NextUnit())));
  candidate.settingsValid = true;
  return candidate;
}

bool IsNeverCandidate(std::string_view candidate, const LocalSettings& pc) {
  const std::optional<std::uint32_t> address = ParseDottedQuad(candidate);
  if (!address) return false;
  const std::optional<std::uint32_t> own = ParseDottedQuad(pc.LocalAddress);
  if (address == own || address == ParseDottedQuad(pc.LocalGateway)) return true;
  const std::optional<std::uint32_t> mask = ParseDottedQuad(pc.LocalNetmask);
  if (!own || !mask) return false;
  const std::uint32_t hosts = ~*mask;
  // A run of ones, then zeros; /31 and /32 have no network or broadcast address.
  if ((hosts & (hosts + 1)) != 0 || hosts < 3) return false;
  if ((*address & *mask) != (*own & *mask)) return false;
  const std::uint32_t host = *address & hosts;
  return host == 0 || host == hosts;
}

}  // namespace orvane

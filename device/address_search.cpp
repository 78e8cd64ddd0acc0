#include "device/address_search.h"

#include "desktop/shortcuts.h"
#include "device/codec.h"
#include "device/sighting.h"
#include "hostnet/ipv4_text.h"

namespace orvane {

namespace {

bool OnALink(std::uint32_t address, std::span<const Adapter> links) {
  for (const Adapter& adapter : links) {
    const auto own = ParseDottedQuad(adapter.settings.LocalAddress);
    const auto mask = ParseDottedQuad(adapter.settings.LocalNetmask);
    if (own && mask && (*own & *mask) == (address & *mask)) return true;
  }
  return false;
}

// Whether a device answers where it reported itself, though it dropped the
// echo. A NAS with its own firewall on drops echoes; moving it would break
// every share mapped to its address. Only ARP on a link of this PC can speak
// for it, and only with the device's own hardware address.
bool AnswersArpOnALink(Prober& prober, const DeviceRecord& device, const std::string& address,
                       ProbeResult echo, std::span<const Adapter> links) {
  if (echo != ProbeResult::NoAnswer && echo != ProbeResult::CouldNotProbe) return false;
  if (!ParseHardwareAddress(device.DeviceId)) return false;
  const std::optional<std::uint32_t> parsed = ParseDottedQuad(address);
  if (!parsed || !OnALink(*parsed, links)) return false;
  // The echo just sent left the answer in the table; without one, ask.
  return AnswersArpAsItself(device.DeviceId,
                            prober.AskNeighbour(address, echo == ProbeResult::CouldNotProbe));
}

}  // namespace

DeviceChecks CheckDevices(Prober& prober, std::span<const DeviceRecord> devices,
                          std::span<const Adapter> links) {
  // A device may report its address with blanks around it; the shortcuts
  // drop them, and so does the probe, or the device would be listed "No"
  // and moved for nothing.
  std::vector<std::string> addresses;
  for (const DeviceRecord& device : devices) addresses.emplace_back(TrimBlanks(device.IpAddress));
  const std::vector<ProbeResult> answers = prober.ProbeAll(addresses);
  DeviceChecks checks;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    const ProbeResult answer = i < answers.size() ? answers[i] : ProbeResult::CouldNotProbe;
    checks.couldNotProbe = checks.couldNotProbe || answer == ProbeResult::CouldNotProbe;
    checks.reachable.push_back(answer == ProbeResult::Answered ||
                               AnswersArpOnALink(prober, devices[i], addresses[i], answer, links));
  }
  return checks;
}

FreeAddressSearch::FreeAddressSearch(Prober& prober, CandidateSource& candidates,
                                     LocalSettings settings)
    : prober_(prober), candidates_(candidates), settings_(std::move(settings)) {}

std::optional<CandidateTry> FreeAddressSearch::Next() {
  if (draws_ >= kAddressCandidates) return std::nullopt;
  ++draws_;
  const Candidate candidate = PickRandomAddress(settings_.LocalAddress, candidates_);
  CandidateTry tried;
  tried.address = candidate.address;
  tried.settingsInvalid = !candidate.settingsValid;
  if (tried.address.empty() || tried.address[0] == '0') {
    // No usable address of its own: the PC is not on a network to share.
    tried.verdict = CandidateTry::Verdict::NoOwnAddress;
    draws_ = kAddressCandidates;
    return tried;
  }
  // Such a draw uses up its try unprobed, as the probe of a busy address
  // would, so a search always ends after 20 draws.
  if (IsNeverCandidate(tried.address, settings_)) {
    tried.verdict = CandidateTry::Verdict::NeverOffered;
    return tried;
  }
  const ProbeResult echo = prober_.Probe(tried.address);
  tried.couldNotProbe = echo == ProbeResult::CouldNotProbe;
  tried.verdict =
      IsFree(tried.address, echo) ? CandidateTry::Verdict::Free : CandidateTry::Verdict::InUse;
  if (tried.verdict == CandidateTry::Verdict::Free) draws_ = kAddressCandidates;
  return tried;
}

bool FreeAddressSearch::IsFree(const std::string& address, ProbeResult echo) {
  switch (echo) {
    case ProbeResult::Answered:
    case ProbeResult::InvalidAddress:
      return false;
    case ProbeResult::NoAnswer:
      // A dropped echo proves nothing: firewalled PCs and printers hold
      // their address without answering. A host that answered ARP for it
      // during the echo does hold it.
      return prober_.AskNeighbour(address, false).answer != NeighbourAnswer::Held;
    case ProbeResult::CouldNotProbe:
      break;
  }
  // No echo can leave this PC: ARP alone decides, and only an address the
  // link was asked about and no host claimed is free.
  return prober_.AskNeighbour(address, true).answer == NeighbourAnswer::Silent;
}

std::string CouldNotProbeText(std::string_view reason, Language language) {
  return (reason.empty()
              ? LoadText(TextId::CannotPing, language)
              : FillText(LoadText(TextId::CannotPingBecause, language), {std::string(reason)})) +
         "\r\n" + LoadText(TextId::AnswersCannotBeChecked, language);
}

}  // namespace orvane

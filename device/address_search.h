#pragma once
// What echo and ARP say of addresses on this PC's networks: which listed
// devices answer where they reported themselves, and a free address in the
// PC's subnet for one that does not. Pure over the prober and the candidate
// draw: nothing here shows anything or waits for an event; the caller says
// what the results mean to its user.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/address_pick.h"
#include "device/device_record.h"
#include "device/setup_services.h"
#include "resources/text_table.h"

namespace orvane {

inline constexpr int kAddressCandidates = 20;

// The list's answer checks.
struct DeviceChecks {
  std::vector<bool> reachable;  // one per device, in list order
  bool couldNotProbe = false;   // no echo could leave this PC
};

// One echo to each device's reported address, all at once, so a list of
// eleven silent devices is ready after one probe's 500 ms, not eleven. A
// device that drops the echo is reachable still when, on a link of this PC
// (`links`: the adapters a request can leave by), ARP gives its own hardware
// address for that address.
DeviceChecks CheckDevices(Prober& prober, std::span<const DeviceRecord> devices,
                          std::span<const Adapter> links);

// One draw of the search and what it found.
struct CandidateTry {
  enum class Verdict {
    Free,          // proven free: `address` is the one to give
    InUse,         // a host holds it, or it could not be proven free
    NeverOffered,  // this PC's own, its gateway, or its subnet's network or
                   // broadcast address: not probed
    NoOwnAddress,  // this PC has no address of its own to share: the search
                   // cannot go on
  };
  Verdict verdict = Verdict::InUse;
  std::string address;
  // The PC's address could not be read as four parts.
  bool settingsInvalid = false;
  // No echo could leave this PC: ARP alone decided.
  bool couldNotProbe = false;
};

// Up to kAddressCandidates draws in the subnet of `settings`, each probed
// (which blocks for up to 500 ms) until one is free.
class FreeAddressSearch {
 public:
  FreeAddressSearch(Prober& prober, CandidateSource& candidates, LocalSettings settings);

  // The next draw, or nothing once all are used.
  std::optional<CandidateTry> Next();

 private:
  bool IsFree(const std::string& address, ProbeResult echo);

  Prober& prober_;
  CandidateSource& candidates_;
  const LocalSettings settings_;
  int draws_ = 0;
};

// The message that says no echo can leave this PC, with the prober's reason
// when it gives one.
std::string CouldNotProbeText(std::string_view reason, Language language);

}  // namespace orvane

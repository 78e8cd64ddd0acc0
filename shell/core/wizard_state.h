#pragma once
// The values every page shares for the whole process.

#include <cstdint>
#include <string>

#include "device/core/device_record.h"

namespace orvane {

// Colours are 0x00BBGGRR numbers: red in the lowest byte.
inline constexpr std::uint32_t kSlateBlue = 0x00947D4E;
inline constexpr std::uint32_t kOliveGreen = 0x0022AC8D;
inline constexpr std::uint32_t kWhite = 0x00FFFFFF;

struct WizardState {
  std::int16_t TextBase = 0;
  std::uint32_t PageBackColor = 0;
  std::uint32_t TextBackColor = 0;
  std::uint32_t TextForeColor = 0;
  std::uint32_t OptionBackColor = 0;
  std::uint32_t LabelBackColor = 0;
  std::uint32_t LabelForeColor = 0;

  DeviceTable Devices{};
  std::int16_t LastDevice = -1;

  std::string LocalAddress;
  std::string LocalNetmask;
  std::string LocalGateway;

  std::int16_t SelectedDevice = -1;
  bool SelectedReachable = false;

  std::string LoginUserName;
  std::string LoginPassword;
};

// The one process-wide instance.
WizardState& State();

// The start-up values that every load of the first page writes: the theme
// colours and the English text base.
void ApplyStartupValues(WizardState& state);

}  // namespace orvane

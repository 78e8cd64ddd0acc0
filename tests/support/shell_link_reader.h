#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "desktop/shell_link.h"

namespace orvane {

// Everything the reader found in a .lnk file: the ShellLink fields and the
// structure around them, so tests can check how a value was stored.
struct ShellLinkRecord {
  ShellLink link;
  std::uint32_t linkFlags = 0;
  std::uint32_t fileAttributes = 0;
  bool hasIdList = false;
  std::string networkPath;            // LinkInfo: NetName, and "\" + suffix if any
  std::string environmentTargetAnsi;  // EnvironmentVariableDataBlock, ANSI copy
  std::string environmentTarget;      // EnvironmentVariableDataBlock, Unicode copy
};

// Parses a shell link file. The target is taken where the shell takes it: the
// environment block's Unicode text, else the LinkInfo network path, else the
// local base path. Returns nothing for anything that is not a well-formed link
// (wrong header, an offset or size that leaves the data, a missing terminator).
std::optional<ShellLinkRecord> ReadShellLinkRecord(std::span<const std::uint8_t> bytes);

std::optional<ShellLink> ReadShellLink(std::span<const std::uint8_t> bytes);

}  // namespace orvane

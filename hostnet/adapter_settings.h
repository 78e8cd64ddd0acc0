#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// One adapter as the platform describes it. Each field has the layout of the
// Windows IP_ADDRESS_STRING: 16 bytes of dotted-decimal text, NUL-terminated
// and NUL-filled, so a 15-character value such as 255.255.255.255 fills it up
// to its terminator and a missing value is sixteen NULs.
struct AdapterRecord {
  std::array<char, 16> IpAddress;  // the adapter's first IPv4 address
  std::array<char, 16> IpMask;     // the subnet mask of that address
  std::array<char, 16> Gateway;    // the adapter's first default gateway
  std::string Name = {};           // the platform's name ("eth0") or description
  std::uint32_t Index = 0;         // the platform's interface index; 0: unknown
  bool Up = true;                  // the link is up and carries traffic
};

// Where adapter records come from: the operating system in production, fixed
// data in tests.
class AdapterSource {
 public:
  virtual ~AdapterSource();
  // Fills `adapters` in the order the platform lists them; false when the
  // platform query itself failed.
  virtual bool Query(std::vector<AdapterRecord>& adapters) = 0;
};

// The operating system's adapters (adapter_source_<platform>.cpp).
std::unique_ptr<AdapterSource> MakePlatformAdapterSource();

// The characters before the first NUL, or the whole value when it has none.
std::string TrimAtNul(std::string_view value);

// The PC's settings as the pages keep them, in dotted-decimal text exactly as
// the platform reported them.
struct LocalSettings {
  std::string LocalAddress;
  std::string LocalNetmask;
  std::string LocalGateway;
};

// Address, mask and gateway of the first adapter, each trimmed at its first
// NUL. Only the first adapter is looked at, whether or not it is connected.
// A failed query or a list without adapters gives three empty values: an
// empty LocalAddress is not four dotted parts, so the free address search
// later reports the PC's settings as invalid instead of drawing candidates
// from nothing.
LocalSettings ReadLocalSettings(AdapterSource& source);

// One adapter with its settings in the pages' form.
struct Adapter {
  std::string name;
  std::uint32_t index = 0;  // the platform's interface index; 0: unknown
  LocalSettings settings;
  bool up = true;
};

// Every adapter the platform lists, in its order, fields trimmed at their NUL;
// empty when the query failed.
std::vector<Adapter> ReadAdapters(AdapterSource& source);

// An adapter a request can go out on: up, with an address of its own.
bool CanSendOn(const Adapter& adapter);

}  // namespace orvane

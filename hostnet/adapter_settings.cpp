#include "hostnet/adapter_settings.h"

namespace orvane {
namespace {

std::string_view FieldText(const std::array<char, 16>& field) {
  return std::string_view(field.data(), field.size());
}

}  // namespace

AdapterSource::~AdapterSource() = default;

std::string TrimAtNul(std::string_view value) {
  return std::string(value.substr(0, value.find('\0')));
}

LocalSettings ReadLocalSettings(AdapterSource& source) {
  std::vector<AdapterRecord> adapters;
  if (!source.Query(adapters) || adapters.empty()) {
    return {};
  }
  // Only the first adapter counts, even on a PC with several: the settings
  // must all come from one adapter, and the platform's order is the only
  // choice that does not guess which segment the devices are on.
  const AdapterRecord& first = adapters.front();
  return {TrimAtNul(FieldText(first.IpAddress)), TrimAtNul(FieldText(first.IpMask)),
          TrimAtNul(FieldText(first.Gateway))};
}

std::vector<Adapter> ReadAdapters(AdapterSource& source) {
  std::vector<AdapterRecord> records;
  std::vector<Adapter> adapters;
  if (!source.Query(records)) return adapters;
  for (const AdapterRecord& r : records) {
    adapters.push_back({r.Name,
                        r.Index,
                        {TrimAtNul(FieldText(r.IpAddress)), TrimAtNul(FieldText(r.IpMask)),
                         TrimAtNul(FieldText(r.Gateway))},
                        r.Up});
  }
  return adapters;
}

bool CanSendOn(const Adapter& adapter) {
  // Windows lists an adapter without an address (unplugged, no lease) with
  // 0.0.0.0.
  const std::string& address = adapter.settings.LocalAddress;
  return adapter.up && !address.empty() && address != "0.0.0.0";
}

}  // namespace orvane

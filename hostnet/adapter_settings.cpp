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

std::string GetAdapterSettings(std::string_view separator, AdapterSource& source) {
  std::vector<AdapterRecord> adapters;
  if (!source.Query(adapters) || adapters.empty()) {
    return {};
  }
  // Only the first adapter counts, even on a PC with several: the settings
  // must all come from one adapter, and the platform's order is the only
  // choice that does not guess which segment the devices are on.
  const AdapterRecord& first = adapters.front();
  std::string joined;
  for (const auto* field : {&first.IpAddress, &first.IpMask, &first.Gateway}) {
    joined += TrimAtNul(FieldText(*field));
    joined += separator;
  }
  // The whole final separator goes, so that a longer separator leaves no
  // fragment behind; with the "+" of the only caller that is one character.
  joined.erase(joined.size() - separator.size());
  return joined;
}

LocalSettings SplitLocalSettings(std::string_view joined) {
  LocalSettings settings;
  const std::size_t first = joined.find('+');
  if (first == std::string_view::npos) {
    return settings;
  }
  settings.LocalAddress = std::string(joined.substr(0, first));
  const std::size_t second = joined.find('+', first + 1);
  if (second == std::string_view::npos) {
    settings.LocalNetmask = std::string(joined.substr(first + 1));
    return settings;
  }
  settings.LocalNetmask = std::string(joined.substr(first + 1, second - first - 1));
  settings.LocalGateway = std::string(joined.substr(second + 1));
  return settings;
}

}  // namespace orvane

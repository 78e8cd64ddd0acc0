#include "device/codec.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>

namespace orvane {

namespace {

constexpr std::string_view kDiscoveryRequest = "0C01S";
constexpr std::string_view kConfigRequest = "0C02S";
constexpr std::string_view kDiscoveryReply = "0C01R";
constexpr std::string_view kConfigReply = "0C02R";

constexpr std::size_t kKindLength = 5;
constexpr std::size_t kIdentityLength = 17;
constexpr std::size_t kStatusIndex = 22;  // position 23, counted from 1
constexpr std::size_t kNpos = std::string_view::npos;

// The six mandatory keys, in the order the devices send them. The values of the
// first five are measured back from the key that follows them.
constexpr std::array<std::string_view, 6> kNameKeys = {
    "IP='", "NETMASK='", "GATEWAY='", "HOSTNAME='", "WORKGROUP='", "HOSTNAME_FULL='"};
constexpr std::size_t kHostNameFull = 5;

constexpr std::string_view kModelKey = "HDMODEL='";
constexpr std::string_view kCapacityKey = "HDCAPACITY='";
constexpr std::string_view kTotalKey = "HDTOTAL='";
constexpr std::string_view kAvailableKey = "HDAVAIL='";

// The closing quote plus the one separator byte in front of the next key.
constexpr std::ptrdiff_t kDroppedBeforeNextKey = 2;

constexpr char FoldAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// First occurrence of `key` (upper-case ASCII) at or after `from`, comparing
// ASCII letters without regard to case; non-ASCII bytes only match themselves.
std::size_t FindKey(std::string_view text, std::string_view key, std::size_t from) {
  if (from > text.size() || key.size() > text.size() - from) return kNpos;
  const std::size_t last = text.size() - key.size();
  for (std::size_t i = from; i <= last; ++i) {
    if (FoldAscii(text[i]) != key[0]) continue;
    std::size_t k = 1;
    while (k < key.size() && FoldAscii(text[i + k]) == key[k]) ++k;
    if (k == key.size()) return i;
  }
  return kNpos;
}

// A quoted field whose value runs from the key to the next "'".
struct QuotedField {
  bool present = false;
  std::string_view value;
  std::size_t closeQuote = 0;
};

QuotedField FindQuoted(std::string_view text, std::string_view key, std::size_t from) {
  QuotedField field;
  const std::size_t at = FindKey(text, key, from);
  if (at == kNpos) return field;
  const std::size_t start = at + key.size();
  const std::size_t close = text.find('\'', start);
  if (close == kNpos) return field;
  field.present = true;
  field.value = text.substr(start, close - start);
  field.closeQuote = close;
  return field;
}

// A disk figure: optional '-', then decimal digits, within the signed 32-bit
// range; anything else (empty, "n/a", " 12", "1e3", "99999999999") is 0.
std::int32_t ReadFigure(std::string_view value) {
  if (value.empty()) return 0;
  std::int32_t number = 0;
  const char* const end = value.data() + value.size();
  const auto [ptr, error] = std::from_chars(value.data(), end, number);
  if (error != std::errc() || ptr != end) return 0;
  return number;
}

// Where the values of one reply sit, found before anything is written so that an
// unreadable reply leaves the caller's record as it was.
struct ReplyLayout {
  std::string_view identity;
  std::array<std::string_view, kNameKeys.size()> names;
  std::string_view model;
  std::int32_t capacity = 0;
  std::int32_t total = 0;
  std::int32_t available = 0;
};

bool LocateFields(std::string_view text, ReplyLayout& layout) {
  layout.identity = text.substr(kKindLength, kIdentityLength);

  // Each key is searched from where the previous one starts, the first from the
  // beginning of the datagram (identity included).
  std::array<std::size_t, kNameKeys.size()> keyAt{};
  std::size_t from = 0;
  for (std::size_t i = 0; i < kNameKeys.size(); ++i) {
    keyAt[i] = FindKey(text, kNameKeys[i], from);
    if (keyAt[i] == kNpos) return false;
    from = keyAt[i];
  }
  for (std::size_t i = 0; i < kHostNameFull; ++i) {
    const std::size_t start = keyAt[i] + kNameKeys[i].size();
    const std::ptrdiff_t length = static_cast<std::ptrdiff_t>(keyAt[i + 1]) -
                                  static_cast<std::ptrdiff_t>(start) - kDroppedBeforeNextKey;
    if (length < 0) return false;
    layout.names[i] = text.substr(start, static_cast<std::size_t>(length));
  }
  const std::size_t fullStart = keyAt[kHostNameFull] + kNameKeys[kHostNameFull].size();
  const std::size_t fullClose = text.find('\'', fullStart);
  if (fullClose == kNpos) return false;
  layout.names[kHostNameFull] = text.substr(fullStart, fullClose - fullStart);

  // The disk fields are optional; each search starts after the last one read.
  std::size_t anchor = fullClose;
  const QuotedField model = FindQuoted(text, kModelKey, anchor);
  if (model.present) anchor = model.closeQuote;
  const QuotedField capacity = FindQuoted(text, kCapacityKey, anchor);
  if (capacity.present) anchor = capacity.closeQuote;
  const QuotedField total = FindQuoted(text, kTotalKey, anchor);
  if (total.present) anchor = total.closeQuote;
  const QuotedField available = FindQuoted(text, kAvailableKey, anchor);

  if (model.value.empty()) {
    // No disk: whatever figures the device reported mean nothing.
    layout.model = kNoDiskModel;
    layout.capacity = layout.total = layout.available = 0;
  } else {
    layout.model = model.value;
    layout.capacity = ReadFigure(capacity.value);
    layout.total = ReadFigure(total.value);
    layout.available = ReadFigure(available.value);
  }
  return true;
}

}  // namespace

std::string BuildDiscoveryRequest() {
  return std::string(kDiscoveryRequest);
}

ReplyKind ClassifyReply(std::string_view datagram) {
  const std::string_view kind = datagram.substr(0, kKindLength);
  if (kind == kDiscoveryReply) return ReplyKind::Discovery;
  if (kind == kConfigReply) return ReplyKind::Configuration;
  return ReplyKind::Other;
}

bool ParseDiscoveryReply(std::string_view datagram, DeviceRecord& out) {
  if (ClassifyReply(datagram) != ReplyKind::Discovery) return false;
  ReplyLayout layout;
  if (!LocateFields(datagram, layout)) return false;

  // assign() keeps each string's buffer, so a reused record reads without allocating.
  out.DeviceId.assign(layout.identity);
  out.IpAddress.assign(layout.names[0]);
  out.Netmask.assign(layout.names[1]);
  out.Gateway.assign(layout.names[2]);
  out.HostName.assign(layout.names[3]);
  out.Workgroup.assign(layout.names[4]);
  out.HostNameFull.assign(layout.names[5]);
  out.DiskModel.assign(layout.model);
  out.DiskCapacity = layout.capacity;
  out.DiskTotal = layout.total;
  out.DiskAvailable = layout.available;
  return true;
}

std::string ComposeConfigRequest(const DeviceRecord& device, std::string_view newAddress,
                                 std::string_view netmask, std::string_view gateway,
                                 std::string_view userName, std::string_view password) {
  const std::array<std::string_view, 8> fields = {
      newAddress,          netmask,  gateway, device.HostName, device.Workgroup,
      device.HostNameFull, userName, password};
  std::size_t size = kConfigRequest.size() + device.DeviceId.size() + fields.size() - 1;
  for (const std::string_view field : fields) size += field.size();

  std::string request;
  request.reserve(size);
  request.append(kConfigRequest);
  request.append(device.DeviceId);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) request.push_back(';');
    request.append(fields[i]);
  }
  return request;
}

ConfigStatus ParseConfigReply(std::string_view datagram) {
  if (ClassifyReply(datagram) != ReplyKind::Configuration) return ConfigStatus::Neither;
  if (datagram.size() <= kStatusIndex) return ConfigStatus::Neither;
  switch (datagram[kStatusIndex]) {
    case '1':
      return ConfigStatus::Failure;
    case '2':
      return ConfigStatus::Success;
    default:
      return ConfigStatus::Neither;
  }
}

bool IsConfigReplyFor(std::string_view datagram, std::string_view identity) {
  return ClassifyReply(datagram) == ReplyKind::Configuration &&
         identity.size() == kIdentityLength &&
         datagram.substr(kKindLength, kIdentityLength) == identity;
}

}  // namespace orvane

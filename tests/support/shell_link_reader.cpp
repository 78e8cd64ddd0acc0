// Reads shell link files back. Used by the tests as our own independent check
// of every field the writer stores; it parses strictly and bounds-checks every
// offset, because a link file is input like any other.

#include "tests/support/shell_link_reader.h"

#include <algorithm>

#include "desktop/shell_link_format.h"
#include "text/utf_text.h"

namespace orvane {

namespace {

class Cursor {
 public:
  explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Has(std::size_t count) const {
    return pos_ <= bytes_.size() && bytes_.size() - pos_ >= count;
  }
  std::size_t Pos() const { return pos_; }
  bool Skip(std::size_t count) {
    if (!Has(count)) return false;
    pos_ += count;
    return true;
  }
  bool U16(std::uint16_t& value) {
    if (!Has(2)) return false;
    value = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  bool U32(std::uint32_t& value) {
    if (!Has(4)) return false;
    value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes_[pos_ + i];
    pos_ += 4;
    return true;
  }
  std::span<const std::uint8_t> Take(std::size_t count) {
    auto part = bytes_.subspan(pos_, count);
    pos_ += count;
    return part;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

// A NUL-terminated ANSI string inside `area` starting at `offset`.
std::optional<std::string> AnsiAt(std::span<const std::uint8_t> area, std::size_t offset) {
  if (offset >= area.size()) return std::nullopt;
  const auto begin = area.begin() + static_cast<std::ptrdiff_t>(offset);
  const auto end = std::find(begin, area.end(), std::uint8_t{0});
  if (end == area.end()) return std::nullopt;
  return std::string(begin, end);
}

std::u16string Utf16Of(std::span<const std::uint8_t> bytes, std::size_t units) {
  std::u16string text;
  for (std::size_t i = 0; i < units; ++i) {
    text.push_back(static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
  }
  return text;
}

// A NUL-terminated UTF-16 string inside `area` starting at `offset`, as UTF-8.
std::optional<std::string> UnicodeAt(std::span<const std::uint8_t> area, std::size_t offset) {
  if (offset >= area.size()) return std::nullopt;
  const auto rest = area.subspan(offset);
  for (std::size_t units = 0; 2 * units + 1 < rest.size(); ++units) {
    if (rest[2 * units] == 0 && rest[2 * units + 1] == 0) {
      return Utf16ToUtf8(Utf16Of(rest, units));
    }
  }
  return std::nullopt;
}

bool ReadNetworkLink(std::span<const std::uint8_t> link, std::string& netName) {
  if (link.size() < 0x14 || U32At(link, 0) > link.size() || U32At(link, 0) < 0x14) return false;
  link = link.first(U32At(link, 0));
  const std::uint32_t netNameOffset = U32At(link, 8);
  auto name = AnsiAt(link, netNameOffset);
  if (netNameOffset > 0x14) {
    if (link.size() < 0x1C) return false;
    name = UnicodeAt(link, U32At(link, 0x14));
  }
  if (!name) return false;
  netName = *name;
  return true;
}

bool ReadLinkInfo(Cursor& in, std::span<const std::uint8_t> bytes, ShellLinkRecord& record,
                  std::string& localPath) {
  const std::size_t start = in.Pos();
  std::uint32_t size = 0;
  if (!in.U32(size) || size < 0x1C || !in.Skip(size - 4)) return false;
  const auto info = bytes.subspan(start, size);
  const std::uint32_t headerSize = U32At(info, 4);
  const std::uint32_t flags = U32At(info, 8);
  if (headerSize < 0x1C || headerSize > size) return false;
  const bool unicodeOffsets = headerSize >= lnk::kLinkInfoHeaderSizeWithUnicode;
  std::optional<std::string> suffix = AnsiAt(info, U32At(info, 0x18));
  if (unicodeOffsets && U32At(info, 0x20) != 0) suffix = UnicodeAt(info, U32At(info, 0x20));
  if (!suffix) return false;
  if (flags & lnk::kVolumeIdAndLocalBasePath) {
    auto base = AnsiAt(info, U32At(info, 0x10));
    if (unicodeOffsets && U32At(info, 0x1C) != 0) base = UnicodeAt(info, U32At(info, 0x1C));
    if (!base) return false;
    localPath = *base + *suffix;
  }
  if (flags & lnk::kCommonNetworkRelativeLinkAndPathSuffix) {
    const std::uint32_t linkOffset = U32At(info, 0x14);
    if (linkOffset >= size) return false;
    std::string netName;
    if (!ReadNetworkLink(info.subspan(linkOffset), netName)) return false;
    record.networkPath = suffix->empty() ? netName : netName + "\\" + *suffix;
  }
  return true;
}

bool ReadStringData(Cursor& in, bool unicode, std::string& text) {
  std::uint16_t count = 0;
  if (!in.U16(count)) return false;
  const std::size_t bytes = unicode ? 2u * count : count;
  if (!in.Has(bytes)) return false;
  const auto data = in.Take(bytes);
  text = unicode ? Utf16ToUtf8(Utf16Of(data, count)) : std::string(data.begin(), data.end());
  return true;
}

bool ReadExtraData(Cursor& in, std::span<const std::uint8_t> bytes, ShellLinkRecord& record) {
  for (;;) {
    const std::size_t start = in.Pos();
    std::uint32_t size = 0;
    if (!in.U32(size)) return false;
    if (size < 4) return true;  // TerminalBlock
    if (size < 8 || !in.Skip(size - 4)) return false;
    const auto block = bytes.subspan(start, size);
    if (U32At(block, 4) == lnk::kEnvironmentBlockSignature) {
      if (size != lnk::kEnvironmentBlockSize) return false;
      const auto ansi = AnsiAt(block.subspan(8, lnk::kEnvironmentAnsiBytes), 0);
      const auto unicode = UnicodeAt(
          block.subspan(8 + lnk::kEnvironmentAnsiBytes, lnk::kEnvironmentUnicodeBytes), 0);
      if (!ansi || !unicode) return false;
      record.environmentTargetAnsi = *ansi;
      record.environmentTarget = *unicode;
    }
  }
}

}  // namespace

std::optional<ShellLinkRecord> ReadShellLinkRecord(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < lnk::kHeaderSize || U32At(bytes, 0) != lnk::kHeaderSize ||
      !std::equal(lnk::kLinkClsid.begin(), lnk::kLinkClsid.end(), bytes.begin() + 4)) {
    return std::nullopt;
  }
  ShellLinkRecord record;
  record.linkFlags = U32At(bytes, lnk::kLinkFlagsAt);
  record.fileAttributes = U32At(bytes, lnk::kFileAttributesAt);
  record.link.iconIndex = static_cast<std::int32_t>(U32At(bytes, lnk::kIconIndexAt));
  record.link.showCommand = U32At(bytes, lnk::kShowCommandAt);
  record.link.hotKey =
      static_cast<std::uint16_t>(bytes[lnk::kHotKeyAt] | (bytes[lnk::kHotKeyAt + 1] << 8));

  Cursor in(bytes);
  in.Skip(lnk::kHeaderSize);
  const std::uint32_t flags = record.linkFlags;
  if (flags & lnk::kHasLinkTargetIdList) {
    std::uint16_t idListSize = 0;
    if (!in.U16(idListSize) || !in.Skip(idListSize)) return std::nullopt;
    record.hasIdList = true;
  }
  std::string localPath;
  if ((flags & lnk::kHasLinkInfo) && !ReadLinkInfo(in, bytes, record, localPath)) {
    return std::nullopt;
  }
  const bool unicode = flags & lnk::kIsUnicode;
  std::string relativePath;
  std::string arguments;
  const std::pair<std::uint32_t, std::string*> strings[] = {
      {lnk::kHasName, &record.link.description},
      {lnk::kHasRelativePath, &relativePath},
      {lnk::kHasWorkingDir, &record.link.workingDirectory},
      {lnk::kHasArguments, &arguments},
      {lnk::kHasIconLocation, &record.link.iconPath}};
  for (const auto& [bit, text] : strings) {
    if ((flags & bit) && !ReadStringData(in, unicode, *text)) return std::nullopt;
  }
  if (!ReadExtraData(in, bytes, record)) return std::nullopt;

  if ((flags & lnk::kHasExpString) && !record.environmentTarget.empty()) {
    record.link.target = record.environmentTarget;
  } else if (!record.networkPath.empty()) {
    record.link.target = record.networkPath;
  } else {
    record.link.target = localPath;
  }
  return record;
}

std::optional<ShellLink> ReadShellLink(std::span<const std::uint8_t> bytes) {
  auto record = ReadShellLinkRecord(bytes);
  if (!record) return std::nullopt;
  return record->link;
}

}  // namespace orvane

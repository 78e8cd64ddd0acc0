#pragma once

// Constants of the Shell Link (.lnk) binary format shared by the writer and the
// tests' reader (tests/support/shell_link_reader.h). Names follow Microsoft's
// published description of the format; all numbers in a file are little-endian.

#include <array>
#include <cstdint>

namespace orvane::lnk {

// ShellLinkHeader: HeaderSize, then LinkCLSID 00021401-0000-0000-C000-000000000046
// in its byte order on disk (Data1..Data3 little-endian, Data4 as is).
inline constexpr std::uint32_t kHeaderSize = 0x4C;
inline constexpr std::array<std::uint8_t, 16> kLinkClsid = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Byte offsets of the header fields.
inline constexpr std::size_t kLinkFlagsAt = 0x14;
inline constexpr std::size_t kFileAttributesAt = 0x18;
inline constexpr std::size_t kCreationTimeAt = 0x1C;
inline constexpr std::size_t kAccessTimeAt = 0x24;
inline constexpr std::size_t kWriteTimeAt = 0x2C;
inline constexpr std::size_t kFileSizeAt = 0x34;
inline constexpr std::size_t kIconIndexAt = 0x38;
inline constexpr std::size_t kShowCommandAt = 0x3C;
inline constexpr std::size_t kHotKeyAt = 0x40;

// LinkFlags bits (only those the writer or reader looks at).
inline constexpr std::uint32_t kHasLinkTargetIdList = 0x00000001;
inline constexpr std::uint32_t kHasLinkInfo = 0x00000002;
inline constexpr std::uint32_t kHasName = 0x00000004;
inline constexpr std::uint32_t kHasRelativePath = 0x00000008;
inline constexpr std::uint32_t kHasWorkingDir = 0x00000010;
inline constexpr std::uint32_t kHasArguments = 0x00000020;
inline constexpr std::uint32_t kHasIconLocation = 0x00000040;
inline constexpr std::uint32_t kIsUnicode = 0x00000080;
inline constexpr std::uint32_t kHasExpString = 0x00000200;

// LinkInfo.
inline constexpr std::uint32_t kLinkInfoHeaderSizeWithUnicode = 0x24;
inline constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
inline constexpr std::uint32_t kCommonNetworkRelativeLinkAndPathSuffix = 0x2;

// CommonNetworkRelativeLink.
inline constexpr std::uint32_t kValidDevice = 0x1;
inline constexpr std::uint32_t kValidNetType = 0x2;
inline constexpr std::uint32_t kNetNameOffsetWithUnicode = 0x1C;  // > 0x14: Unicode offsets follow
inline constexpr std::uint32_t kWnncNetLanman = 0x00020000;  // SMB, "Microsoft Windows Network"

// ExtraData: EnvironmentVariableDataBlock.
inline constexpr std::uint32_t kEnvironmentBlockSize = 0x314;
inline constexpr std::uint32_t kEnvironmentBlockSignature = 0xA0000001;
inline constexpr std::size_t kEnvironmentAnsiBytes = 260;
inline constexpr std::size_t kEnvironmentUnicodeBytes = 520;

}  // namespace orvane::lnk

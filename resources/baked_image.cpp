#include "resources/baked_image.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace orvane {

namespace {

constexpr char kTag[4] = {'O', 'B', 'I', '1'};
constexpr std::uint32_t kAlpha = 2;
constexpr std::uint32_t kOpaque24 = 3;

void PutU32(char* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[i] = char((v >> (8 * i)) & 0xFF);
}

std::uint32_t GetU32(const char* in) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(static_cast<unsigned char>(in[i])) << (8 * i);
  return v;
}

// Bytes in one stored row of a kind-3 picture: 3 a pixel, padded to 4.
std::uint64_t Rgb888Stride(std::uint64_t width) {
  return (width * 3 + 3) / 4 * 4;
}

}  // namespace

QByteArray BakeImage(const QImage& image) {
  if (image.isNull() || image.width() > kBakedMaxSide || image.height() > kBakedMaxSide) return {};
  const bool alpha = image.hasAlphaChannel();
  const QImage pixels =
      image.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB888);
  const int w = pixels.width(), h = pixels.height();
  const qsizetype row = alpha ? qsizetype(w) * 4 : qsizetype(Rgb888Stride(std::uint64_t(w)));
  // Zero-filled, so the padding at the end of each 24-bit row is zero.
  QByteArray out(qsizetype(kBakedHeaderSize) + row * h, '\0');
  char* p = out.data();
  std::memcpy(p, kTag, 4);
  PutU32(p + 4, std::uint32_t(w));
  PutU32(p + 8, std::uint32_t(h));
  PutU32(p + 12, alpha ? kAlpha : kOpaque24);
  p += kBakedHeaderSize;
  for (int y = 0; y < h; ++y, p += row) {
    if (alpha) {
      const auto* line = reinterpret_cast<const std::uint32_t*>(pixels.constScanLine(y));
      for (int x = 0; x < w; ++x) PutU32(p + std::size_t(x) * 4, line[x]);
    } else {
      // Format_RGB888 holds red, green, blue in that byte order on every machine.
      std::memcpy(p, pixels.constScanLine(y), std::size_t(w) * 3);
    }
  }
  return out;
}

QImage ViewBakedImage(QByteArrayView baked, bool persistent) {
  if (std::size_t(baked.size()) < kBakedHeaderSize) return {};
  const char* p = baked.data();
  if (std::memcmp(p, kTag, 4) != 0) return {};
  const std::uint32_t width = GetU32(p + 4);
  const std::uint32_t height = GetU32(p + 8);
  const std::uint32_t kind = GetU32(p + 12);
  if (width == 0 || height == 0 || width > kBakedMaxSide || height > kBakedMaxSide) return {};
  if (kind != kAlpha && kind != kOpaque24) return {};
  const bool alpha = kind == kAlpha;
  const std::uint64_t stride = alpha ? std::uint64_t(width) * 4 : Rgb888Stride(width);
  if (std::uint64_t(baked.size()) != kBakedHeaderSize + stride * height) return {};
  const QImage::Format format = alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB888;
  const auto* pixels = reinterpret_cast<const uchar*>(p + kBakedHeaderSize);
  const int w = int(width), h = int(height);

  // QImage needs its rows 32-bit aligned; in the program's resources they are,
  // as rcc lays each file out after a 4-byte length, every baked file is a
  // multiple of 4 bytes long and so is every row. Otherwise, or for bytes that
  // will not stay, the pixels are copied; so are 32-bit pixels on a big-endian
  // machine, which stores them the other way round.
  const bool aligned = reinterpret_cast<std::uintptr_t>(pixels) % 4 == 0;
  const bool sameOrder = !alpha || std::endian::native == std::endian::little;
  if (persistent && aligned && sameOrder) return QImage(pixels, w, h, qsizetype(stride), format);

  QImage copy(w, h, format);
  if (copy.isNull()) return {};
  for (int y = 0; y < h; ++y) {
    const char* src = p + kBakedHeaderSize + std::size_t(y) * stride;
    if (alpha) {
      auto* line = reinterpret_cast<std::uint32_t*>(copy.scanLine(y));
      for (int x = 0; x < w; ++x) line[x] = GetU32(src + std::size_t(x) * 4);
    } else {
      std::memcpy(copy.scanLine(y), src, std::size_t(w) * 3);
    }
  }
  return copy;
}

}  // namespace orvane

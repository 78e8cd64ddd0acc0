#include "resources/baked_image.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace orvane {

namespace {

constexpr char kTag[4] = {'O', 'B', 'I', '1'};
constexpr std::uint32_t kOpaque = 1;
constexpr std::uint32_t kAlpha = 2;

void PutU32(char* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[i] = char((v >> (8 * i)) & 0xFF);
}

std::uint32_t GetU32(const char* in) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(static_cast<unsigned char>(in[i])) << (8 * i);
  return v;
}

}  // namespace

QByteArray BakeImage(const QImage& image) {
  if (image.isNull() || image.width() > kBakedMaxSide || image.height() > kBakedMaxSide) return {};
  const bool alpha = image.hasAlphaChannel();
  const QImage pixels =
      image.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  const qsizetype row = qsizetype(pixels.width()) * 4;
  QByteArray out(qsizetype(kBakedHeaderSize) + row * pixels.height(), Qt::Uninitialized);
  char* p = out.data();
  std::memcpy(p, kTag, 4);
  PutU32(p + 4, std::uint32_t(pixels.width()));
  PutU32(p + 8, std::uint32_t(pixels.height()));
  PutU32(p + 12, alpha ? kAlpha : kOpaque);
  p += kBakedHeaderSize;
  for (int y = 0; y < pixels.height(); ++y) {
    const auto* line = reinterpret_cast<const std::uint32_t*>(pixels.constScanLine(y));
    for (int x = 0; x < pixels.width(); ++x, p += 4) PutU32(p, line[x]);
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
  if (kind != kOpaque && kind != kAlpha) return {};
  const std::uint64_t bytes = std::uint64_t(width) * height * 4;
  if (std::uint64_t(baked.size()) != kBakedHeaderSize + bytes) return {};
  const QImage::Format format =
      kind == kAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  const auto* pixels = reinterpret_cast<const uchar*>(p + kBakedHeaderSize);
  const int w = int(width), h = int(height);

  // QImage needs its rows 32-bit aligned; in the program's resources they are,
  // as rcc lays each file out after a 4-byte length and every baked file is a
  // multiple of 4 bytes long. Otherwise, or on a big-endian machine, or for
  // bytes that will not stay, the pixels are copied.
  const bool aligned = reinterpret_cast<std::uintptr_t>(pixels) % 4 == 0;
  if (persistent && aligned && std::endian::native == std::endian::little)
    return QImage(pixels, w, h, w * 4, format);

  QImage copy(w, h, format);
  if (copy.isNull()) return {};
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(copy.scanLine(y));
    const char* src = p + kBakedHeaderSize + std::size_t(y) * w * 4;
    for (int x = 0; x < w; ++x) line[x] = GetU32(src + std::size_t(x) * 4);
  }
  return copy;
}

}  // namespace orvane

#pragma once
// Pictures ready to show. The build turns each committed PNG into plain 32-bit
// pixels behind a 16-byte header ("baking"), and the program shows those pixels
// where they lie in its own read-only data: nothing is decoded at start-up, no
// image plug-in is loaded, and no second copy of the picture is made.
//
// Layout, all numbers little-endian 32-bit:
//   "OBI1"  width  height  kind
//   width * height pixels, row by row, each 0xAARRGGBB
// kind 1: opaque, alpha is 0xFF (QImage::Format_RGB32)
// kind 2: alpha, premultiplied (QImage::Format_ARGB32_Premultiplied)

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <cstddef>

namespace orvane {

inline constexpr std::size_t kBakedHeaderSize = 16;
// Larger pictures are refused both ways; ours are at most 652 x 348.
inline constexpr int kBakedMaxSide = 8192;

// The baked form of image: opaque images as kind 1, images with an alpha
// channel as kind 2. Empty for a null image or one larger than kBakedMaxSide.
QByteArray BakeImage(const QImage& image);

// The picture in baked, or a null image when baked is not a well-formed baked
// picture (short, wrong tag, size out of range, unknown kind, or a length that
// does not match its size).
// The image refers to baked's bytes without copying them when they are
// suitably aligned, so baked must then outlive it; that is what the program's
// own resources do. Pass persistent = false for bytes that will go away, and
// the pixels are copied.
QImage ViewBakedImage(QByteArrayView baked, bool persistent);

}  // namespace orvane

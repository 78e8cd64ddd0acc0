#pragma once
// Pictures ready to show. The build turns each committed PNG into plain pixels
// behind a 16-byte header ("baking"), and the program shows those pixels where
// they lie in its own read-only data: nothing is decoded at start-up, no image
// plug-in is loaded, and no second copy of the picture is made.
//
// Layout: the header, all numbers little-endian 32-bit,
//   "OBI1"  width  height  kind
// then the pixels, row by row:
// kind 2: with alpha, premultiplied, 4 bytes a pixel, each 0xAARRGGBB
//         (QImage::Format_ARGB32_Premultiplied)
// kind 3: opaque, 3 bytes a pixel in the order red, green, blue
//         (QImage::Format_RGB888), each row padded with zero bytes to a
//         multiple of 4 bytes
// Opaque pictures keep the 24 bits they are drawn in: a step picture then takes
// a quarter less memory than at 32 bits, for some 0.06 ms more on each paint.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <cstddef>

namespace orvane {

inline constexpr std::size_t kBakedHeaderSize = 16;
// Larger pictures are refused both ways; ours are at most 652 x 348.
inline constexpr int kBakedMaxSide = 8192;

// The baked form of image: images with an alpha channel as kind 2, opaque ones
// as kind 3. Empty for a null image or one larger than kBakedMaxSide.
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

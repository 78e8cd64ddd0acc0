// Baked pictures: what the build writes, the program reads back exactly, and
// anything else is refused rather than shown as garbage.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <cstring>
#include <string>

#include "resources/baked_image.h"

namespace orvane {
namespace {

// A small picture with distinct pixels and, optionally, some transparency.
QImage Sample(bool alpha) {
  QImage image(7, 3, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.setPixel(x, y, qRgba(x * 30, y * 80, 200 - x * y * 9, alpha ? 40 + x * 30 : 255));
  return image;
}

void Put(QByteArray& baked, int offset, quint32 v) {
  for (int i = 0; i < 4; ++i) baked[offset + i] = char((v >> (8 * i)) & 0xFF);
}

TEST(BakedImage, OpaquePictureComesBackPixelForPixelAt24Bits) {
  const QImage source = Sample(false);
  const QByteArray baked = BakeImage(source);
  // 7 pixels of 3 bytes make 21, padded to 24 a row.
  ASSERT_EQ(baked.size(), qsizetype(kBakedHeaderSize) + 24 * 3);
  EXPECT_EQ(std::string(baked.constData(), 4), "OBI1");
  for (const bool persistent : {true, false}) {
    const QImage back = ViewBakedImage(baked, persistent);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.format(), QImage::Format_RGB888);
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), source);
  }
}

TEST(BakedImage, TransparencyIsKeptPremultiplied) {
  const QImage source = Sample(true);
  // A viewed picture refers to the baked bytes, which must outlive it.
  const QByteArray baked = BakeImage(source);
  const QImage back = ViewBakedImage(baked, true);
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(back.format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_TRUE(back.hasAlphaChannel());
  EXPECT_EQ(back, source.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST(BakedImage, PixelBytesAsStored) {
  struct Case {
    const char* what;
    QImage::Format format;
    QRgb pixel;
    std::string bytes;  // after the header
  };
  const Case cases[] = {
      {"opaque: red, green, blue, padded to 4", QImage::Format_RGB32, qRgb(0x12, 0x34, 0x56),
       std::string("\x12\x34\x56\x00", 4)},
      {"alpha: 0xAARRGGBB little-endian", QImage::Format_ARGB32_Premultiplied,
       qRgba(0x12, 0x34, 0x56, 0x78), std::string("\x56\x34\x12\x78", 4)},
  };
  for (const Case& c : cases) {
    QImage one(1, 1, c.format);
    one.setPixel(0, 0, c.pixel);
    const QByteArray baked = BakeImage(one);
    EXPECT_EQ(baked.mid(qsizetype(kBakedHeaderSize)).toStdString(), c.bytes) << c.what;
  }
}

TEST(BakedImage, AlignedLastingBytesAreShownWhereTheyLie) {
  for (const bool alpha : {false, true}) {
    SCOPED_TRACE(alpha);
    const QByteArray baked = BakeImage(Sample(alpha));
    // QByteArray's storage is at least 8-byte aligned, and the header is 16.
    const auto* pixels = reinterpret_cast<const uchar*>(baked.constData()) + kBakedHeaderSize;
    const QImage view = ViewBakedImage(baked, true);
    EXPECT_EQ(view.constBits(), pixels);
    EXPECT_EQ(view.bytesPerLine(), alpha ? 28 : 24);
    const QImage copy = ViewBakedImage(baked, false);
    EXPECT_NE(copy.constBits(), pixels);
    EXPECT_EQ(copy, view);
  }
}

TEST(BakedImage, MisalignedBytesAreCopied) {
  for (const bool alpha : {false, true}) {
    SCOPED_TRACE(alpha);
    const QImage source = Sample(alpha);
    const QByteArray baked = BakeImage(source);
    QByteArray shifted(baked.size() + 1, '\0');
    std::memcpy(shifted.data() + 1, baked.constData(), size_t(baked.size()));
    const QByteArrayView view(shifted.constData() + 1, baked.size());
    const QImage back = ViewBakedImage(view, true);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              source.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    EXPECT_EQ(reinterpret_cast<quintptr>(back.constBits()) % 4, 0u);
  }
}

TEST(BakedImage, NothingToBake) {
  EXPECT_TRUE(BakeImage(QImage()).isEmpty());
  EXPECT_TRUE(BakeImage(QImage(kBakedMaxSide + 1, 1, QImage::Format_RGB32)).isEmpty());
}

TEST(BakedImage, MalformedBytesAreRefused) {
  const QByteArray good = BakeImage(Sample(false));  // 7 x 3, kind 3, rows of 24 bytes
  struct Case {
    const char* what;
    QByteArray bytes;
  };
  auto with = [&](int offset, quint32 v) {
    QByteArray b = good;
    Put(b, offset, v);
    return b;
  };
  QByteArray badTag = good;
  badTag[3] = '2';
  const Case cases[] = {
      {"empty", QByteArray()},
      {"header only, short", good.left(qsizetype(kBakedHeaderSize) - 1)},
      {"header without pixels", good.left(qsizetype(kBakedHeaderSize))},
      {"other tag", badTag},
      {"zero width", with(4, 0)},
      {"zero height", with(8, 0)},
      {"width past the limit", with(4, kBakedMaxSide + 1)},
      {"height of 0xFFFFFFFF", with(8, 0xFFFFFFFFu)},
      {"unknown kind 0", with(12, 0)},
      {"kind 1, opaque at 32 bits, which the baker never makes", with(12, 1)},
      {"unknown kind 4", with(12, 4)},
      {"kind 2 needs 4 bytes a pixel", with(12, 2)},
      {"rows unpadded", good.left(qsizetype(kBakedHeaderSize) + 21 * 3)},
      {"one pixel byte short", good.left(good.size() - 1)},
      {"one byte too many", good + QByteArray(1, '\0')},
      {"size claims one more row", with(8, 4)},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(ViewBakedImage(c.bytes, true).isNull()) << c.what;
    EXPECT_TRUE(ViewBakedImage(c.bytes, false).isNull()) << c.what;
  }
  EXPECT_FALSE(ViewBakedImage(good, true).isNull()) << "the unaltered bytes are fine";
}

}  // namespace
}  // namespace orvane

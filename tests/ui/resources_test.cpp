// The program's pictures: each number shows exactly the committed artwork, and
// the large ones are shown from the program's data without a copy.

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QResource>

#include "ui/resources.h"

namespace orvane {
namespace {

QImage Committed(const QString& name) {
  return QImage(QStringLiteral(ORVANE_IMAGES_DIR "/") + name);
}

TEST(ProgramPictures, EachNumberShowsItsCommittedArtwork) {
  for (const int number : {101, 102, 103, 104, 105, 106}) {
    SCOPED_TRACE(number);
    const QImage source = Committed(QStringLiteral("%1.png").arg(number));
    ASSERT_FALSE(source.isNull());
    const QImage shown = LoadBitmap(Picture(number));
    ASSERT_EQ(shown.size(), source.size());
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              source.convertToFormat(QImage::Format_RGB32));
  }
}

TEST(ProgramPictures, StepPicturesAreShownAt24BitsFromTheProgramData) {
  for (const int number : {101, 102, 103}) {
    SCOPED_TRACE(number);
    const QResource resource(QStringLiteral(":/images/%1.obi").arg(number));
    ASSERT_TRUE(resource.isValid());
    const QImage shown = LoadBitmap(Picture(number));
    EXPECT_EQ(shown.format(), QImage::Format_RGB888);
    EXPECT_EQ(shown.constBits(), resource.data() + 16) << "the stored pixels, not a copy";
    EXPECT_EQ(LoadBitmap(Picture(number)).constBits(), shown.constBits()) << "loaded once";
  }
}

TEST(ProgramPictures, NumbersWithoutAPictureGiveNone) {
  for (const int number : {0, 100, 107, 30001, -1})
    EXPECT_TRUE(LoadBitmap(Picture(number)).isNull());
}

TEST(ProgramPictures, IconHasBothSizesWithTheirTransparency) {
  const QIcon icon = ProgramIcon();
  for (const int side : {16, 32}) {
    SCOPED_TRACE(side);
    const QImage source = Committed(QStringLiteral("icon-%1.png").arg(side));
    ASSERT_FALSE(source.isNull());
    const QImage shown = icon.pixmap(QSize(side, side), 1.0).toImage();
    ASSERT_EQ(shown.size(), QSize(side, side));
    EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              source.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }
}

TEST(ProgramPictures, StoredUncompressedSoNothingIsUnpackedAtStartUp) {
  for (const char* name : {"101", "102", "103", "104", "105", "106", "icon-16", "icon-32"}) {
    const QResource resource(QStringLiteral(":/images/%1.obi").arg(QLatin1String(name)));
    ASSERT_TRUE(resource.isValid()) << name;
    EXPECT_EQ(resource.compressionAlgorithm(), QResource::NoCompression) << name;
    EXPECT_EQ(reinterpret_cast<quintptr>(resource.data()) % 4, 0u)
        << name << ": rows must be 32-bit aligned to be shown in place";
  }
}

}  // namespace
}  // namespace orvane

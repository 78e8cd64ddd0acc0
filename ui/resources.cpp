#include "ui/resources.h"

#include <QHash>
#include <QPixmap>
#include <QResource>
#include <QStringDecoder>

#include "resources/baked_image.h"

namespace orvane {

QString Text(TextId id, Language language) {
  return QString::fromStdString(LoadText(id, language));
}

namespace {

// A baked picture of the program's resources (see resources/baked_image.h).
// Stored uncompressed, its pixels are shown where they lie; compressed (a build
// that changed the resource options), they are unpacked and copied once.
QImage LoadBaked(const QString& path) {
  const QResource resource(path);
  if (!resource.isValid()) return {};
  QImage image;
  if (resource.compressionAlgorithm() == QResource::NoCompression) {
    image = ViewBakedImage(
        QByteArrayView(reinterpret_cast<const char*>(resource.data()), resource.size()), true);
  } else {
    image = ViewBakedImage(resource.uncompressedData(), false);
  }
  return image;
}

}  // namespace

QImage LoadBitmap(Picture picture) {
  const int number = static_cast<int>(picture);
  // Made once and shared: windows load afresh each time they are shown.
  static QHash<int, QImage> cache;
  auto it = cache.find(number);
  if (it == cache.end())
    it = cache.insert(number, LoadBaked(QStringLiteral(":/images/%1.obi").arg(number)));
  return *it;
}

QIcon ProgramIcon() {
  static const QIcon icon = [] {
    QIcon i;
    for (const char* size : {"32", "16"}) {
      const QImage image =
          LoadBaked(QStringLiteral(":/images/icon-%1.obi").arg(QLatin1String(size)));
      if (!image.isNull()) i.addPixmap(QPixmap::fromImage(image));
    }
    return i;
  }();
  return icon;
}

QColor ColorFromBgr(std::uint32_t bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QFont FontFor(FontFace face) {
  // The layouts name Windows faces. Where they are missing (every Linux
  // desktop) the nearest installed face stands in at the same point size, so
  // the texts wrap where the layout expects them to:
  //  - MS Sans Serif: Liberation Sans, which is metric-compatible with Arial
  //    and as narrow as MS Sans Serif; DejaVu Sans runs about 10% wider and
  //    pushes "Running Status:" past its 121-pixel label.
  //  - Verdana: DejaVu Sans, drawn from Bitstream Vera, Verdana's near twin.
  //  - Arial: Liberation Sans, metric-compatible.
  //  - 新細明體 (PMingLiU): Liberation Serif for its Latin letters, which like
  //    PMingLiU's are serifed and narrow enough to keep text 9 on one line of
  //    the 33-pixel label; Noto Serif CJK TC, a Ming face, for the Chinese.
  // Every list ends with a Traditional Chinese face, so the Chinese texts
  // draw in traditional forms rather than as boxes or in a
  // Simplified or Japanese face that the font fallback happens to find first.
  static const QString sansCjk = QStringLiteral("Noto Sans CJK TC");
  static const QString serifCjk = QStringLiteral("Noto Serif CJK TC");
  static const QStringList msSansSerif = {
      "MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arimo", "DejaVu Sans", sansCjk};
  QFont font;
  switch (face) {
    case FontFace::Window:
      // A window's own font, which its buttons use: MS Sans Serif 8.25 pt.
      font.setFamilies(msSansSerif);
      font.setPointSizeF(8.25);
      break;
    case FontFace::SansSerif12:
    case FontFace::SansSerif12Bold:
      font.setFamilies(msSansSerif);
      font.setPointSizeF(12);
      font.setBold(face == FontFace::SansSerif12Bold);
      break;
    case FontFace::Verdana8:
      font.setFamilies({"Verdana", "DejaVu Sans", sansCjk});
      font.setPointSizeF(8.25);
      break;
    case FontFace::Arial9:
      font.setFamilies({"Arial", "Liberation Sans", "Arimo", "DejaVu Sans", sansCjk});
      font.setPointSizeF(9);
      break;
    case FontFace::MingLiU12:
      font.setFamilies({QString::fromUtf8("新細明體"), "PMingLiU", "Liberation Serif", "Tinos",
                        serifCjk, sansCjk});
      font.setPointSizeF(12);
      break;
  }
  return font;
}

}  // namespace orvane

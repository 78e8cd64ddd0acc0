#include "shell/resources.h"

#include <QHash>
#include <QStringDecoder>

#include "shell/core/text_table.h"

namespace orvane {

QString Text(int n) {
  return QString::fromStdString(LoadText(n));
}

QPixmap LoadBitmap(int number) {
  // Decoded once and shared: pages load afresh each time they are shown, and a
  // 652 x 348 picture is not worth decoding again on every page.
  static QHash<int, QPixmap> cache;
  auto it = cache.find(number);
  if (it == cache.end())
    it = cache.insert(number, QPixmap(QStringLiteral(":/images/%1.png").arg(number)));
  return *it;
}

QIcon ProgramIcon() {
  static const QIcon icon = [] {
    QIcon i;
    i.addFile(QStringLiteral(":/images/icon-32.png"), QSize(32, 32));
    i.addFile(QStringLiteral(":/images/icon-16.png"), QSize(16, 16));
    return i;
  }();
  return icon;
}

QColor ColorFromBgr(std::uint32_t bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QFont FontFor(FontFace face) {
  // The layouts name Windows faces; where they are missing the nearest
  // installed ones stand in at the same point size.
  static const QStringList sans = {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans",
                                   "DejaVu Sans", "Noto Sans CJK TC"};
  QFont font;
  switch (face) {
    case FontFace::Window:
      return font;
    case FontFace::SansSerif12:
    case FontFace::SansSerif12Bold:
      font.setFamilies(sans);
      font.setPointSizeF(12);
      font.setBold(face == FontFace::SansSerif12Bold);
      break;
    case FontFace::Verdana8:
      font.setFamilies({"Verdana", "DejaVu Sans", "Noto Sans CJK TC"});
      font.setPointSizeF(8.25);
      break;
    case FontFace::Arial9:
      font.setFamilies({"Arial", "Liberation Sans", "DejaVu Sans", "Noto Sans CJK TC"});
      font.setPointSizeF(9);
      break;
    case FontFace::MingLiU12:
      font.setFamilies({QString::fromUtf8("新細明體"), "PMingLiU", "Noto Sans CJK TC",
                        "Noto Serif CJK TC", "DejaVu Sans"});
      font.setPointSizeF(12);
      break;
  }
  return font;
}

QString DisplayText(std::string_view bytes) {
  auto utf8 = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  if (!utf8.hasError()) return text;
  // Windows-1252 is Latin-1 but for 0x80-0x9F; five of those bytes are unused
  // and stay as their Latin-1 control characters.
  static constexpr char16_t k80to9F[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  text.clear();
  text.reserve(qsizetype(bytes.size()));
  for (unsigned char c : bytes)
    text.append(QChar(c >= 0x80 && c <= 0x9F ? k80to9F[c - 0x80] : char16_t(c)));
  return text;
}

}  // namespace orvane

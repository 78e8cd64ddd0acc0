// orvane-bake-image: turns a PNG into the baked pixels the program shows as they
// are (see resources/baked_image.h). The build runs it on every committed PNG.
//
//   orvane-bake-image <in.png> <out.obi>

#include <QImage>
#include <QImageReader>
#include <QSaveFile>
#include <cstdio>

#include "resources/baked_image.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <in.png> <out.obi>\n", argv[0]);
    return 2;
  }
  QImageReader reader(QString::fromLocal8Bit(argv[1]));
  const QImage image = reader.read();
  if (image.isNull()) {
    std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(reader.errorString()));
    return 1;
  }
  const QByteArray baked = orvane::BakeImage(image);
  if (baked.isEmpty()) {
    std::fprintf(stderr, "%s: larger than %d pixels on a side\n", argv[1], orvane::kBakedMaxSide);
    return 1;
  }
  QSaveFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly) || out.write(baked) != baked.size() || !out.commit()) {
    std::fprintf(stderr, "%s: %s\n", argv[2], qPrintable(out.errorString()));
    return 1;
  }
  return 0;
}

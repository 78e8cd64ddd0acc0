#pragma once
// Resources by number and the small conversions windows need for display.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QString>
#include <cstdint>
#include <string_view>

#include "resources/text_table.h"
#include "ui/layout.h"

namespace orvane {

// A text of the table in the given language (LoadText), for display.
QString Text(TextId id, Language language);

// The program's pictures, by the numbers its data stores them under.
enum class Picture : int {
  None = 0,
  Welcome = 101,
  PowerOn = 102,
  Cabling = 103,
  MarkInProgress = 104,
  MarkDone = 105,
  MarkFailed = 106,
};

// A picture, shown from the program's own data; a null image for None or a
// value that names no picture.
QImage LoadBitmap(Picture picture);

// The program icon (30001 at 32 x 32, 30002 at 16 x 16).
QIcon ProgramIcon();

// A 0x00BBGGRR colour number as the toolkit's colour.
QColor ColorFromBgr(std::uint32_t bgr);

// The font a layout names, mapped to the nearest installed face at the same size.
QFont FontFor(FontFace face);

}  // namespace orvane

#pragma once
// Linux: the font configuration comes from fontconfig.

#include <fontconfig/fontconfig.h>

namespace orvane {

// The configuration fontconfig would load for itself (FONTCONFIG_FILE or
// fonts.conf, with everything it includes) and its fonts, built but not made
// current; the caller owns the reference. Null where only fontconfig's own
// start-up does the right thing: the configuration is missing or broken, it
// names no cache folder (fontconfig then picks one of its own), or FC_DEBUG
// asks for fontconfig's start-up report.
FcConfig* LoadFontConfiguration();

}  // namespace orvane

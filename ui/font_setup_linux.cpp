#include "ui/font_setup_linux.h"

#include <cstdlib>

#include "ui/font_setup.h"

namespace orvane {

// fontconfig's own start-up (FcInit, which the toolkit calls when the first
// text box asks for a font) loads the configuration and then also parses the
// templates in its conf.avail folder that the configuration does not include,
// some twenty files on Debian, only to keep their descriptions for
// fc-conflist. That is about a third of its 3.5 ms here. Loading the same
// configuration and fonts, without the templates, and making them current
// leaves FcInit nothing to do; every match comes out the same.
FcConfig* LoadFontConfiguration() {
  // FC_DEBUG is read by fontconfig's start-up alone; whoever sets it wants
  // that start-up, with its report, so it is left to run.
  if (const char* debug = std::getenv("FC_DEBUG"); debug && *debug) return nullptr;
  FcConfig* config = FcConfigCreate();
  if (!config) return nullptr;
  // A null name is fontconfig's own choice: FONTCONFIG_FILE, else fonts.conf.
  // When that file is not there fontconfig's start-up reports it and carries
  // on with a configuration of its own; it is left to do so, and to say so
  // once rather than twice.
  FcChar8* file = FcConfigGetFilename(config, nullptr);
  bool ok = file != nullptr;
  FcStrFree(file);
  if (ok) ok = FcConfigParseAndLoad(config, nullptr, FcTrue);
  if (ok) {
    // Without a cache folder fontconfig would fall back on one of its own;
    // that choice is its start-up's, so it makes it.
    FcStrList* cacheDirs = FcConfigGetCacheDirs(config);
    ok = cacheDirs && FcStrListNext(cacheDirs);
    if (cacheDirs) FcStrListDone(cacheDirs);
  }
  if (ok) ok = FcConfigBuildFonts(config);
  if (!ok) {
    FcConfigDestroy(config);
    return nullptr;
  }
  return config;
}

bool PrepareFontConfiguration() {
  FcConfig* config = LoadFontConfiguration();
  if (!config) return false;
  // The current configuration holds a reference of its own.
  const bool ok = FcConfigSetCurrent(config);
  FcConfigDestroy(config);
  return ok;
}

}  // namespace orvane

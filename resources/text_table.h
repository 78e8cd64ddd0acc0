#pragma once
// The numbered text table in two languages, and LoadText. Every word a user
// sees comes from here, except a few fixed English messages.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "resources/text_id.h"  // TextId, generated from resources/texts.tsv

namespace orvane {

// The language of every text: the base its resource numbers start from.
enum class Language : std::int16_t { TraditionalChinese = 500, English = 700 };

// The string resource with this number (701-758 English, 501-558 Traditional
// Chinese), UTF-8. A number with no entry gives the empty text: no page asks
// for one, and an empty caption is easier to spot and safer than a crash.
std::string LoadResString(int number);

// Text N in the given language: the resource numbered base + N.
std::string LoadText(TextId id, Language language);

// The text with %1, %2 ... replaced by the values, in one pass, so a value
// that itself holds "%2" stays as it is.
std::string FillText(std::string_view text, std::initializer_list<std::string_view> values);

// The Windows code page the language's texts are written in where the PC has
// no ANSI code page of its own to say it: Big5 (950) for Traditional Chinese,
// Windows-1252 for English.
unsigned LegacyCodePage(Language language);

}  // namespace orvane

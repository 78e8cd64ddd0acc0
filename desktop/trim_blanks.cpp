// TrimBlanks apart from the shortcuts' writing: the engine trims device
// addresses with it and links only desktop/'s portable part.
#include "desktop/shortcuts.h"

namespace orvane {

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace orvane

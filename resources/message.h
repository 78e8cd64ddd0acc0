#pragma once
// What a message box is made of, in the words of the program rather than of a
// toolkit: the engine composes messages, the window framework shows them.

#include <string>
#include <string_view>

namespace orvane {

enum class Buttons { Ok, OkCancel };
enum class Icon { None, Exclamation };
enum class Answer { Ok, Cancel };

// The caption of every message box that names no title of its own.
inline constexpr std::string_view kAppTitle = "TAVO";

struct Message {
  std::string text;  // UTF-8
  std::string title = std::string(kAppTitle);
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  // More to read on request, copyable (what was checked): empty for none.
  std::string details = {};
  std::string detailsButton = {};  // the label of the button that shows it
};

}  // namespace orvane

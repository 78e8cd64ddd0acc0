#pragma once
// Window layouts as data: one table per window, one row per control, in twips
// (1/1440 inch) at 15 twips to a pixel. Form windows build their controls from
// these tables, and tests compare every window against them.

#include <span>

namespace orvane {

inline constexpr int kTwipsPerPixel = 15;

enum class ControlKind { Picture, TextBox, Label, Button, Option, List };
enum class FontFace { Window, SansSerif12, SansSerif12Bold, Verdana8, Arial9, MingLiU12 };
enum class Role { None, Default, Cancel };

struct ControlSpec {
  const char* name;
  ControlKind kind;
  int left, top, width, height;  // twips
  int tab;                       // tab order, 0 first
  FontFace font = FontFace::Window;
  Role role = Role::None;
  bool multiLine = false;  // text boxes: the text wraps over several lines
  bool readOnly = false;   // text boxes
};

struct WindowSpec {
  const char* name;
  const char* caption;
  int clientWidth, clientHeight;  // twips
  std::span<const ControlSpec> controls;
};

constexpr int ToPixels(int twips) {
  return twips / kTwipsPerPixel;
}

}  // namespace orvane

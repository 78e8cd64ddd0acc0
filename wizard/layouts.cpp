#include "wizard/layouts.h"

namespace orvane {
namespace {

using K = ControlKind;
using F = FontFace;
using R = Role;

constexpr int kStepWidth = 9810;   // Steps 0 to 4 share one client size,
constexpr int kStepHeight = 8235;  // so moving between them never resizes.

// Steps 0, 1 and 2: the picture on top, the instruction box below it, the
// buttons bottom right and the version label bottom left.
constexpr ControlSpec kPre1[] = {
    // name          kind        left  top   width height tab font        role
    {"txt1", K::TextBox, 0, 5280, 9855, 2055, 0, F::SansSerif12, R::None, true, true},
    {"pic1", K::Picture, 0, 0, 9855, 5295, 1},
    {"cmdNext", K::Button, 7080, 7560, 1215, 495, 2, F::Window, R::Default},
    {"cmdExit", K::Button, 8520, 7560, 1215, 495, 3, F::Window, R::Cancel},
    {"lblVersion", K::Label, 120, 7800, 3375, 255, 4, F::Verdana8},
};

constexpr ControlSpec kPre2[] = {
    {"pic1", K::Picture, 0, 0, 9855, 5295, 0},
    {"txt1", K::TextBox, 0, 5280, 9855, 2055, 1, F::SansSerif12, R::None, true, true},
    {"cmdPrevious", K::Button, 5640, 7560, 1215, 495, 2},
    {"cmdNext", K::Button, 7080, 7560, 1215, 495, 3, F::Window, R::Default},
    {"cmdExit", K::Button, 8520, 7560, 1215, 495, 4, F::Window, R::Cancel},
    {"lblVersion", K::Label, 120, 7800, 3375, 255, 5, F::Verdana8},
};

constexpr ControlSpec kMain[] = {
    {"txt1", K::TextBox, 0, 5280, 9855, 2055, 0, F::SansSerif12, R::None, true, true},
    {"pic1", K::Picture, 0, 0, 9855, 5295, 1},
    {"cmdNext", K::Button, 7080, 7560, 1215, 495, 2, F::Window, R::Default},
    {"cmdExit", K::Button, 8520, 7560, 1215, 495, 3, F::Window, R::Cancel},
    {"cmdPrevious", K::Button, 5640, 7560, 1215, 495, 4},
    {"lblVersion", K::Label, 120, 7800, 3375, 255, 5, F::Verdana8},
};

// Step 3: its buttons stand 8 pixels further left than on Steps 0 to 2.
constexpr ControlSpec kMain0[] = {
    {"Option1", K::Option, 480, 2280, 5055, 375, 0, F::SansSerif12Bold},
    {"Label1", K::Label, 720, 2880, 8415, 1215, 2, F::SansSerif12},
    {"cmdNext", K::Button, 6960, 7560, 1215, 495, 4, F::Window, R::Default},
    {"cmdPrevious", K::Button, 5520, 7560, 1215, 495, 5},
    {"cmdExit", K::Button, 8400, 7560, 1215, 495, 6, F::Window, R::Cancel},
    {"lblVersion", K::Label, 120, 7800, 3375, 255, 7, F::Verdana8},
};

// Step 4: four status rows (mark and caption), the running-status line, and
// Previous as the default button since the page has no Next.
constexpr ControlSpec kMain2[] = {
    {"Label1_1", K::Label, 1440, 600, 7815, 975, 0, F::SansSerif12},
    {"Label2_1", K::Label, 1440, 2040, 7935, 975, 1, F::SansSerif12},
    {"Label3_1", K::Label, 1440, 3480, 7935, 975, 2, F::SansSerif12},
    {"Label4_1", K::Label, 1440, 4920, 8055, 975, 3, F::SansSerif12},
    {"lblRun", K::Label, 2040, 6240, 7335, 975, 4, F::SansSerif12},
    {"Label5", K::Label, 120, 6240, 1815, 375, 5, F::SansSerif12},
    {"cmdExit", K::Button, 8400, 7560, 1215, 495, 6, F::Window, R::Cancel},
    {"cmdPrevious", K::Button, 6960, 7560, 1215, 495, 7, F::Window, R::Default},
    {"pic1", K::Picture, 240, 360, 735, 735, 8},
    {"pic2", K::Picture, 240, 1800, 735, 735, 9},
    {"pic3", K::Picture, 240, 3240, 735, 735, 10},
    {"pic4", K::Picture, 240, 4680, 735, 735, 11},
    {"lblVersion", K::Label, 120, 7800, 3375, 255, 12, F::Verdana8},
};

constexpr ControlSpec kSelect[] = {
    {"ListView1", K::List, 0, 0, 9135, 4095, 0, F::Arial9},
    {"Label1", K::Label, 120, 4320, 8655, 495, 1, F::MingLiU12},
    {"cmdNext", K::Button, 6240, 5040, 1335, 495, 2, F::Window, R::Default},
    {"cmdExit", K::Button, 7800, 5040, 1215, 495, 3, F::Window, R::Cancel},
    {"lblVersion", K::Label, 120, 5160, 3375, 255, 4, F::Verdana8},
};

// The password box is first in the tab order, so it has the focus on opening.
constexpr ControlSpec kConfigSimple[] = {
    {"txtPassword", K::TextBox, 2160, 840, 2655, 420, 0, F::SansSerif12},
    {"txtUsername", K::TextBox, 2160, 240, 2655, 420, 1, F::SansSerif12},
    {"cmdExit", K::Button, 3720, 3360, 1335, 495, 2, F::Window, R::Cancel},
    {"cmdNext", K::Button, 2280, 3360, 1215, 495, 3, F::Window, R::Default},
    {"Label3", K::Label, 120, 1680, 4935, 1455, 4, F::SansSerif12},
    {"Label2", K::Label, 480, 840, 1575, 375, 5, F::SansSerif12},
    {"Label1", K::Label, 480, 240, 1575, 375, 6, F::SansSerif12},
};

const WindowSpec kWindows[] = {
    {"frmPre1", "Orvane Configuration and Setup Utility - Step 0", kStepWidth, kStepHeight, kPre1},
    {"frmPre2", "Orvane Configuration and Setup Utility - Step 1", kStepWidth, kStepHeight, kPre2},
    {"frmMain", "Orvane Configuration and Setup Utility - Step 2", kStepWidth, kStepHeight, kMain},
    {"frmMain0", "Orvane Configuration and Setup Utility - Step 3", kStepWidth, kStepHeight,
     kMain0},
    {"frmMain2", "Orvane Configuration and Setup Utility - Step 4", kStepWidth, kStepHeight,
     kMain2},
    {"frmSelect", "Orvane Configuration and Setup Utility - Select Orvane to configure", 9120, 5640,
     kSelect},
    {"frmConfigSimple", "Orvane Configuration and Setup Utility - Config", 5175, 3960,
     kConfigSimple},
};

}  // namespace

const WindowSpec& LayoutWelcome() {
  return kWindows[0];
}
const WindowSpec& LayoutPowerOn() {
  return kWindows[1];
}
const WindowSpec& LayoutCabling() {
  return kWindows[2];
}
const WindowSpec& LayoutScanStart() {
  return kWindows[3];
}
const WindowSpec& LayoutSetupRun() {
  return kWindows[4];
}
const WindowSpec& LayoutDeviceList() {
  return kWindows[5];
}
const WindowSpec& LayoutLogin() {
  return kWindows[6];
}

}  // namespace orvane

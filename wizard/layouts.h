#pragma once
// The layout table of every window of the wizard (the types: ui/layout.h).
// A window's name is the name its controls are looked up under in tests and
// tools: frmPre1 (Step 0) to frmMain2 (Step 4), frmSelect, frmConfigSimple.

#include "ui/layout.h"

namespace orvane {

const WindowSpec& LayoutWelcome();     // Step 0, frmPre1
const WindowSpec& LayoutPowerOn();     // Step 1, frmPre2
const WindowSpec& LayoutCabling();     // Step 2, frmMain
const WindowSpec& LayoutScanStart();   // Step 3, frmMain0
const WindowSpec& LayoutSetupRun();    // Step 4, frmMain2
const WindowSpec& LayoutDeviceList();  // frmSelect
const WindowSpec& LayoutLogin();       // frmConfigSimple

// The controls the pages reach, named by the role they play; the tables name
// them by the windows' own names, which pages never spell.
namespace controls {
// Every step page.
inline constexpr const char* kNext = "cmdNext";
inline constexpr const char* kPrevious = "cmdPrevious";
inline constexpr const char* kExit = "cmdExit";
inline constexpr const char* kVersion = "lblVersion";
// Steps 0 to 2.
inline constexpr const char* kPicture = "pic1";
inline constexpr const char* kInstructions = "txt1";
// Step 3.
inline constexpr const char* kAnnouncement = "Label1";
inline constexpr const char* kExpressSetup = "Option1";
// Step 4: each status row's mark and caption, the heading over the status
// line, and the status line.
inline constexpr const char* kRowMarks[] = {"pic1", "pic2", "pic3", "pic4"};
inline constexpr const char* kRowCaptions[] = {"Label1_1", "Label2_1", "Label3_1", "Label4_1"};
inline constexpr const char* kStatusHeading = "Label5";
inline constexpr const char* kStatus = "lblRun";
// The device list.
inline constexpr const char* kDeviceList = "ListView1";
inline constexpr const char* kListInstruction = "Label1";
// The login page.
inline constexpr const char* kUserName = "txtUsername";
inline constexpr const char* kPassword = "txtPassword";
inline constexpr const char* kUserNameCaption = "Label1";
inline constexpr const char* kPasswordCaption = "Label2";
inline constexpr const char* kFactoryDefaultNote = "Label3";
}  // namespace controls

}  // namespace orvane

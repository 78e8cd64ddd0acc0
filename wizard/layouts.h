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

}  // namespace orvane

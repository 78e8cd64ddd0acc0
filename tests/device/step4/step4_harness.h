#pragma once
// Drives Step 4 through whole runs with the network and desktop faked.

#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <string>

#include "device/core/address_pick.h"
#include "device/pages/frm_main2.h"
#include "shell/page.h"
#include "tests/support/fake_services.h"
#include "tests/support/page_driver.h"
#include "tests/support/test_toolkit.h"

namespace orvane::testing {

// Candidate draws from a fixed list of r values (then repeats the last).
class ScriptedCandidates : public CandidateSource {
 public:
  float NextUnit() override;
  std::vector<float> values{0.3f};
  std::size_t next = 0;
};

// r for a wanted last part: 253 r + 1 = part exactly.
inline float RFor(int lastPart) {
  return float(lastPart - 1) / 253.0f;
}

inline const std::string kReplyA =
    "0C01R00:0A:1B:2C:3D:4E;IP='192.168.1.20';NETMASK='255.255.255.0';GATEWAY='192.168.1.1';"
    "HOSTNAME='FILER1';WORKGROUP='WORKGROUP';HOSTNAME_FULL='FILER1';HDMODEL='DISK-80G';"
    "HDCAPACITY='156301488';HDTOTAL='76900000';HDAVAIL='70000000'";
inline const std::string kReplyB =
    "0C01R00:0A:1B:2C:3D:99;IP='10.20.30.40';NETMASK='255.255.255.0';GATEWAY='10.20.30.1';"
    "HOSTNAME='ARCHIVE';WORKGROUP='HOME';HOSTNAME_FULL='archive.home'";

class Step4Test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Shows Step 4, lets its 100 ms scan start run, delivers the replies during
  // the window and returns the page with the window still open.
  frmMain2* StartScan(const std::vector<std::string>& replies);
  // Ends the scan window now instead of after 3 s.
  void EndScanWindow(frmMain2* page);

  void ChooseRow(int row) { ChooseRowWhenShown(row); }
  void ConfirmLogin() { ConfirmLoginWhenShown(); }

  QString Status(frmMain2* page) const;
  int MarkOf(frmMain2* page, const char* picture) const;
  std::vector<QString> BoxTexts() const;

  FakeWorld world;
  ScriptedCandidates candidates;
};

}  // namespace orvane::testing

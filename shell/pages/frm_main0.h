#pragma once
// Step 3: announces the scan; Next opens Step 4.

#include "shell/pages/intro_page.h"

namespace orvane {

class frmMain0 : public IntroPage {
 public:
  frmMain0();

 protected:
  void Load() override;

 private:
  QRadioButton* Option1;
  QLabel* Label1;
};

}  // namespace orvane

#pragma once
// Step 2: how to cable the Orvane.

#include "shell/pages/intro_page.h"

namespace orvane {

class frmMain : public IntroPage {
 public:
  frmMain();

 protected:
  void Load() override;
};

}  // namespace orvane

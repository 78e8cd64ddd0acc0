#pragma once
// Step 0: the welcome page, and the program's start-up.

#include "shell/pages/intro_page.h"

namespace orvane {

class frmPre1 : public IntroPage {
 public:
  frmPre1();

 protected:
  void Load() override;
};

}  // namespace orvane

#pragma once
// Step 1: how to power the Orvane on.

#include "shell/pages/intro_page.h"

namespace orvane {

class frmPre2 : public IntroPage {
 public:
  frmPre2();

 protected:
  void Load() override;
};

}  // namespace orvane

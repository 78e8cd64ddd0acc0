#pragma once
// Step 0: the welcome page, and the program's start-up.

#include "wizard/intro_page.h"

namespace orvane {

class WelcomePage : public IntroPage {
 public:
  explicit WelcomePage(PageFlow& flow);

 protected:
  void OnLoad() override;
};

}  // namespace orvane

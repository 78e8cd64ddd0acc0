#pragma once
// Step 3: announces the scan; Next opens Step 4.

#include "wizard/intro_page.h"

namespace orvane {

class ScanStartPage : public IntroPage {
 public:
  explicit ScanStartPage(PageFlow& flow);

 protected:
  void OnLoad() override;

 private:
  QRadioButton* expressSetup_;
  QLabel* announcement_;
};

}  // namespace orvane

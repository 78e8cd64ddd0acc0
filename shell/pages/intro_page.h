#pragma once
// What the four introductory pages have in common: the version label, the
// Next/Previous/Exit buttons and the close box that ends the program.

#include "shell/navigation.h"
#include "shell/page.h"

namespace orvane {

class IntroPage : public Page {
 public:
  IntroPage(const WindowSpec& layout, PageId self, PageId next, PageId previous);

 protected:
  void DressInstruction();   // txt1 background and text colours
  void DressVersionLabel();  // lblVersion colours and text 58
  void CaptionButtons();     // cmdNext text 1, cmdPrevious text 2, cmdExit text 3

  QPushButton* cmdNext;
  QPushButton* cmdPrevious;  // none on Step 0
  QPushButton* cmdExit;
  QLabel* lblVersion;
};

}  // namespace orvane

#pragma once
// What the four introductory pages have in common: the Next/Previous/Exit
// buttons, the instruction box and the close box that ends the program.

#include <optional>

#include "wizard/wizard_page.h"

namespace orvane {

class IntroPage : public WizardPage {
 public:
  // `previous` is empty on Step 0, which has no Previous button.
  IntroPage(const WindowSpec& layout, PageFlow& flow, PageId next, std::optional<PageId> previous);

 protected:
  void DressInstruction();  // txt1 background and text colours
  void SetInstruction(TextId id);
  void CaptionButtons();  // cmdNext text 1, cmdPrevious text 2, cmdExit text 3

  QPushButton* next_;
  QPushButton* previous_;  // none on Step 0
  QPushButton* exit_;
};

}  // namespace orvane

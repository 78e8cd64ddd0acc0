#pragma once
// Steps 1 and 2: a picture above an instruction. Step 1 shows how to power
// the Orvane on, Step 2 how to cable it.

#include "wizard/intro_page.h"

namespace orvane {

struct InstructionStep {
  const WindowSpec& (*layout)();
  PageId next;
  PageId previous;
  DescribedPicture picture;
  TextId instruction;
};

class InstructionPage : public IntroPage {
 public:
  static const InstructionStep kPowerOn;  // Step 1
  static const InstructionStep kCabling;  // Step 2

  InstructionPage(PageFlow& flow, const InstructionStep& step);

 protected:
  void OnLoad() override;

 private:
  const InstructionStep& step_;
};

}  // namespace orvane

#include "wizard/instruction_page.h"

#include "wizard/layouts.h"

namespace orvane {

const InstructionStep InstructionPage::kPowerOn{
    LayoutPowerOn,
    PageId::Cabling,
    PageId::Welcome,
    {Picture::PowerOn, TextId::PowerOnPictureName, TextId::PowerOnPictureDescription},
    TextId::PowerOnInstruction};
const InstructionStep InstructionPage::kCabling{
    LayoutCabling,
    PageId::ScanStart,
    PageId::PowerOn,
    {Picture::Cabling, TextId::CablingPictureName, TextId::CablingPictureDescription},
    TextId::CablingInstruction};

InstructionPage::InstructionPage(PageFlow& flow, const InstructionStep& step)
    : IntroPage(step.layout(), flow, step.next, step.previous), step_(step) {}

void InstructionPage::OnLoad() {
  SetBackColor(this, kPageBackColor);
  DressInstruction();
  ShowPicture(controls::kPicture, step_.picture);
  SetInstruction(step_.instruction);
  DressVersionLabel();
  CaptionButtons();
}

}  // namespace orvane

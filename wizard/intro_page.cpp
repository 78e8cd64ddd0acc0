#include "wizard/intro_page.h"

#include <QPlainTextEdit>

#include "wizard/layouts.h"

namespace orvane {

IntroPage::IntroPage(const WindowSpec& layout, PageFlow& flow, PageId next,
                     std::optional<PageId> previous)
    : WizardPage(layout, flow),
      next_(ButtonControl(controls::kNext)),
      previous_(ButtonControl(controls::kPrevious)),
      exit_(ButtonControl(controls::kExit)) {
  OnClick(next_, [this, next] { flow_.GoTo(next, this); });
  if (previous_ && previous) OnClick(previous_, [this, previous] { flow_.GoTo(*previous, this); });
  OnClick(exit_, [this] { flow_.ConfirmExit(this); });
}

void IntroPage::DressInstruction() {
  auto* txt1 = ControlByName(controls::kInstructions);
  SetBackColor(txt1, kTextBackColor);
  SetForeColor(txt1, kTextForeColor);
}

void IntroPage::SetInstruction(TextId id) {
  auto* txt1 = static_cast<QPlainTextEdit*>(ControlByName(controls::kInstructions));
  txt1->setPlainText(Text(id));
  // The box has no caption of its own; a screen reader names it, then reads
  // the instruction as its content.
  txt1->setAccessibleName(Text(TextId::InstructionBoxName));
}

void IntroPage::CaptionButtons() {
  next_->setText(Text(TextId::Next));
  if (previous_) previous_->setText(Text(TextId::Previous));
  exit_->setText(Text(TextId::Exit));
}

}  // namespace orvane

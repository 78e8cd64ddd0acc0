#include "shell/core/wizard_state.h"

#include "shell/core/text_table.h"

namespace orvane {

WizardState& State() {
  static WizardState state;
  return state;
}

void ApplyStartupValues(WizardState& state) {
  state.PageBackColor = kSlateBlue;
  state.TextBackColor = kOliveGreen;
  state.TextForeColor = kWhite;
  state.OptionBackColor = kSlateBlue;
  state.LabelBackColor = kSlateBlue;
  state.LabelForeColor = kWhite;
  state.TextBase = kEnglishBase;
}

}  // namespace orvane

#include "wizard/page_flow.h"

#include "ui/resources.h"
#include "ui/toolkit.h"
#include "wizard/instruction_page.h"
#include "wizard/scan_start_page.h"
#include "wizard/setup_run_page.h"
#include "wizard/welcome_page.h"

namespace orvane {

WizardPage* PageFlow::Create(PageId id) {
  WizardPage* page = nullptr;
  switch (id) {
    case PageId::Welcome:
      page = new WelcomePage(*this);
      break;
    case PageId::PowerOn:
      page = new InstructionPage(*this, InstructionPage::kPowerOn);
      break;
    case PageId::Cabling:
      page = new InstructionPage(*this, InstructionPage::kCabling);
      break;
    case PageId::ScanStart:
      page = new ScanStartPage(*this);
      break;
    case PageId::SetupRun:
      page = new SetupRunPage(*this);
      break;
  }
  page->Load();
  return page;
}

WizardPage* PageFlow::GoTo(PageId target, FormWindow* current) {
  WizardPage* page = Create(target);
  // The target's load may itself have ended the program.
  if (ProgramEnded()) return nullptr;
  page->ShowModeless();
  if (current) current->Unload();
  return page;
}

bool PageFlow::ConfirmExit(FormWindow* current) {
  if (ShowMessageBox(Text(TextId::ExitQuestion, language_), Buttons::OkCancel, Icon::None,
                     Text(TextId::Warning, language_)) != Answer::Ok)
    return false;
  if (current) current->Unload();
  EndProgram();
  return true;
}

}  // namespace orvane

#include "shell/navigation.h"

#include "device/pages/frm_main2.h"
#include "shell/page.h"
#include "shell/pages/frm_main.h"
#include "shell/pages/frm_main0.h"
#include "shell/pages/frm_pre1.h"
#include "shell/pages/frm_pre2.h"
#include "shell/resources.h"
#include "shell/toolkit.h"

namespace orvane {

Page* CreatePage(PageId id) {
  Page* page = nullptr;
  switch (id) {
    case PageId::Pre1:
      page = new frmPre1;
      break;
    case PageId::Pre2:
      page = new frmPre2;
      break;
    case PageId::Main:
      page = new frmMain;
      break;
    case PageId::Main0:
      page = new frmMain0;
      break;
    case PageId::Main2:
      page = new frmMain2;
      break;
  }
  page->LoadPage();
  return page;
}

Page* GoToPage(Page* current, PageId target) {
  Page* page = CreatePage(target);
  // The target's load may itself have ended the program.
  if (Ended()) return nullptr;
  page->ShowPage();
  if (current) current->Unload();
  return page;
}

bool ConfirmExit(Page* current) {
  if (MsgBox(Text(7), Buttons::OkCancel, Icon::None, Text(8)) != Answer::Ok) return false;
  if (current) current->Unload();
  End();
  return true;
}

}  // namespace orvane

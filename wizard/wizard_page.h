#pragma once
// What every page of the wizard has: its place in the page flow, texts in the
// flow's language, and the version label.

#include <QString>

#include "ui/form_window.h"
#include "ui/resources.h"
#include "wizard/page_flow.h"
#include "wizard/theme.h"

namespace orvane {

// A picture that carries meaning, with the words a screen reader speaks for it.
struct DescribedPicture {
  Picture picture;
  TextId name;
  TextId description;
};

class WizardPage : public FormWindow {
 public:
  WizardPage(const WindowSpec& layout, PageFlow& flow) : FormWindow(layout), flow_(flow) {}

 protected:
  QString Text(TextId id) const { return orvane::Text(id, flow_.language()); }
  // Loads the page, shows it modally and returns once it has closed; the page
  // is held by its own modal wait, so the caller can still ask how it ended.
  void OpenModal() {
    Load();
    ShowModal();
  }
  // lblVersion: label colours and TextId::Version.
  void DressVersionLabel();
  // Shows the picture in the box, named and described in the page's language.
  void ShowPicture(const char* box, const DescribedPicture& picture);

  PageFlow& flow_;
};

}  // namespace orvane

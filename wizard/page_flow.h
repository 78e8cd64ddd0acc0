#pragma once
// Moving between the wizard's pages, the exit confirmation every page offers,
// and what is really process-wide: the services and the language.

#include "device/setup_services.h"
#include "resources/text_table.h"

namespace orvane {

class FormWindow;
class WizardPage;

enum class PageId { Welcome, PowerOn, Cabling, ScanStart, SetupRun };

class PageFlow {
 public:
  explicit PageFlow(const Services& services) : services_(services) {}
  PageFlow(const PageFlow&) = delete;
  PageFlow& operator=(const PageFlow&) = delete;

  // Creates the page afresh and runs its load; the caller shows it.
  WizardPage* Create(PageId id);

  // Shows the target page (created and loaded afresh) as an ordinary window,
  // then unloads the current one, so a page is always on screen. Returns the
  // target, or null when its load ended the program.
  WizardPage* GoTo(PageId target, FormWindow* current = nullptr);

  // Asks text 7 under title text 8 with OK and Cancel. OK unloads the current
  // window and ends the program at once; Cancel changes nothing. Returns true
  // when the program was ended.
  bool ConfirmExit(FormWindow* current);

  const Services& services() const { return services_; }
  // The language of every text; Step 0's load makes it English.
  Language language() const { return language_; }
  void SetLanguage(Language language) { language_ = language; }
  // How device texts are read and credentials written: the PC's code page,
  // or where it has none, the language's.
  PcCodePage codePage() const { return ThisPcCodePage(LegacyCodePage(language_)); }

 private:
  const Services& services_;
  Language language_ = Language::English;
};

}  // namespace orvane

#include "wizard/scan_start_page.h"

#include "wizard/layouts.h"

namespace orvane {

ScanStartPage::ScanStartPage(PageFlow& flow)
    : IntroPage(LayoutScanStart(), flow, PageId::SetupRun, PageId::Cabling),
      expressSetup_(static_cast<QRadioButton*>(ControlByName(controls::kExpressSetup))),
      announcement_(LabelControl(controls::kAnnouncement)) {}

void ScanStartPage::OnLoad() {
  // The only option on the page, selected at every load, so Next always scans.
  expressSetup_->setChecked(true);
  SetBackColor(this, kPageBackColor);
  SetBackColor(expressSetup_, kOptionBackColor);
  SetForeColor(expressSetup_, kWhite);
  SetBackColor(announcement_, kLabelBackColor);
  SetForeColor(announcement_, kWhite);
  expressSetup_->setText(Text(TextId::ExpressSetup));
  announcement_->setText(Text(TextId::ScanAnnouncement));
  CaptionButtons();
  DressVersionLabel();
}

}  // namespace orvane

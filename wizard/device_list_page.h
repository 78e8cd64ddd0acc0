#pragma once
// The device list page: shows the devices the scan found, with whether each
// answered a ping from this PC, and lets the user choose the one to set up.

#include <QTreeWidget>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "device/run_front_end.h"
#include "wizard/wizard_page.h"

namespace orvane {

class DeviceListPage final : public WizardPage {
 public:
  DeviceListPage(PageFlow& flow, std::span<const DeviceRow> rows);

  // Creates the page, fills it, shows it modally and returns once it has
  // closed: the index of the row chosen with Next, or nothing when the page
  // closed otherwise, which only a confirmed Exit does (the program has then
  // ended and the caller goes no further).
  static std::optional<std::size_t> Choose(PageFlow& flow, std::span<const DeviceRow> rows);

  // The row Next handed on; nothing until then.
  std::optional<std::size_t> Choice() const { return choice_; }

 protected:
  void OnLoad() override;
  // The close box is the Exit button: it asks text 7, and Cancel keeps the
  // page. Closing without a choice would leave the run waiting for a device
  // with no rule for going on without one.
  void OnCloseBox() override;

 private:
  void AddDeviceRow(std::size_t index, char decimalSeparator);
  void OnNext();

  std::vector<DeviceRow> rows_;
  QTreeWidget* list_;
  QLabel* instruction_;
  QPushButton* next_;
  QPushButton* exit_;
  std::optional<std::size_t> choice_;
};

// Sizes every column of the list to fit both its header and its contents, in
// column order, and stretches the last one over the width that remains.
void AutoSizeColumns(QTreeWidget* list);

// The decimal separator of the user's regional settings, as the list's number
// cells write it.
char UserDecimalSeparator();

}  // namespace orvane

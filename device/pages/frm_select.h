#pragma once
// The device list page: shows the devices the scan found, with whether each
// answers a ping from this PC, and lets the user choose the one to set up.

#include <QTreeWidget>
#include <cstdint>

#include "shell/page.h"

namespace orvane {

class frmSelect : public Page {
 public:
  frmSelect();

  // Creates the page, fills it (every probe done before it shows), shows it
  // modally over Step 4 and returns once it has closed. True when the user
  // chose a row with Next: SelectedDevice and SelectedReachable are then set.
  // False when the page closed otherwise, which only a confirmed Exit does:
  // the program has then ended and the caller goes no further.
  static bool ChooseDevice();

  // True once Next has handed a row on.
  bool Chosen() const { return chosen_; }

 protected:
  void Load() override;
  // The close box is the Exit button: it asks text 7, and Cancel keeps the
  // page. Closing without a choice would leave SelectedDevice at -1 while
  // Step 4 waits for one, and Step 4 has no rule for going on without it.
  void OnCloseBox() override;

 private:
  void AddDeviceRow(std::int16_t index, char decimalSeparator);
  void cmdNext_Click();

  QTreeWidget* ListView1;
  QLabel* Label1;
  QPushButton* cmdNext;
  QPushButton* cmdExit;
  QLabel* lblVersion;
  bool chosen_ = false;
};

// Sizes every column of the list to fit both its header and its contents, in
// column order, and stretches the last one over the width that remains.
void AutoSizeColumns(QTreeWidget* list);

// The decimal separator of the user's regional settings, as the list's number
// cells write it.
char UserDecimalSeparator();

}  // namespace orvane

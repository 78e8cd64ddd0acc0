#pragma once
// Step 4: the scan and the setup run.

#include <QTimer>

#include "shell/page.h"

namespace orvane {

class frmMain2 : public Page {
 public:
  frmMain2();

 protected:
  void Load() override;

 private:
  void cmdPrevious_Click();

  QPushButton* cmdPrevious;
  QPushButton* cmdExit;
  QLabel* lblRun;
};

}  // namespace orvane

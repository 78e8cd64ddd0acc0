#pragma once
// What the device list page tests share: a scripted prober, a prepared device
// table and a fixture that opens the page as Step 4 does.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "device/pages/frm_select.h"
#include "device/pages/services.h"
#include "shell/core/wizard_state.h"
#include "tests/support/test_toolkit.h"

namespace orvane::testing {

// Answers each address as scripted (NoAnswer when not scripted) and records,
// for every probe, what the user could have seen at that moment.
class ScriptedProber : public Prober {
 public:
  struct Probed {
    std::string address;
    bool pageVisible;  // a device list page was on screen
    bool busyCursor;   // the wait cursor was up
  };

  ProbeAnswer Probe(const std::string& address) override {
    bool visible = false;
    for (Page* p : Page::LivePages())
      if (dynamic_cast<frmSelect*>(p) && p->isVisible()) visible = true;
    const QCursor* cursor = QApplication::overrideCursor();
    probed.push_back({address, visible, cursor && cursor->shape() == Qt::WaitCursor});
    auto it = answers.find(address);
    return it == answers.end() ? ProbeAnswer::NoAnswer : it->second;
  }

  std::vector<std::string> Addresses() const {
    std::vector<std::string> out;
    for (const Probed& p : probed) out.push_back(p.address);
    return out;
  }

  std::map<std::string, ProbeAnswer> answers;
  std::vector<Probed> probed;
};

// Three devices in entries 0 to 2: one with a disk, one without, and one on a
// foreign address whose host name came as Windows-1252 bytes; only that one
// does not answer the probe. Entry 3 is filled but lies past LastDevice.
inline void PrepareThreeDevices(ScriptedProber& prober) {
  WizardState& s = State();
  s.Devices = DeviceTable{};
  s.Devices[0] = {"00:11:22:33:44:55", "192.168.1.20", "255.255.255.0",  "192.168.1.1",
                  "ORVANE-A",          "WORKGROUP",    "ORVANE-A.local", "ST380011A",
                  156301488,           76896036,       41000000};
  s.Devices[1] = {"00:11:22:33:44:66",
                  "192.168.1.21",
                  "255.255.255.0",
                  "192.168.1.1",
                  "ORVANE-B",
                  "WORKGROUP",
                  "ORVANE-B",
                  "No HD Installed!",
                  0,
                  0,
                  0};
  s.Devices[2] = {"00:11:22:33:44:77",
                  "169.254.3.7",
                  "255.255.0.0",
                  "0.0.0.0",
                  "\xC5ngstr\xF6m-NAS",
                  "HOME",
                  "\xC5ngstr\xF6m-NAS",
                  "Maxtor 6Y120P0",
                  240121728,
                  118000000,
                  59000000};
  s.Devices[3] = {"00:11:22:33:44:88", "192.168.1.99", "", "", "STALE", "", "", "", 0, 0, 0};
  s.LastDevice = 2;
  prober.answers = {{"192.168.1.20", ProbeAnswer::Answered},
                    {"192.168.1.21", ProbeAnswer::Answered},
                    {"169.254.3.7", ProbeAnswer::NoAnswer},
                    {"192.168.1.99", ProbeAnswer::Answered}};
}

// Each test starts from the three prepared devices with the scripted prober in
// force, and leaves no page and no installed services behind.
class SelectPageFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWizard();
    services_.prober = &prober_;
    previous_ = SetServices(&services_);
    PrepareThreeDevices(prober_);
    State().SelectedDevice = -1;
  }
  void TearDown() override {
    ResetWizard();
    SetServices(previous_);
  }

  static frmSelect* Open() {
    auto* page = new frmSelect;
    page->LoadPage();
    page->ShowPage();
    return page;
  }
  static QTreeWidget* List(Page* p) {
    return qobject_cast<QTreeWidget*>(p->ControlByName("ListView1"));
  }
  static QStringList Row(Page* p, int row) {
    QStringList cells;
    QTreeWidgetItem* item = List(p)->topLevelItem(row);
    for (int c = 0; item && c < List(p)->columnCount(); ++c) cells << item->text(c);
    return cells;
  }
  static void ClickRow(Page* p, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTreeWidget* list = List(p);
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
  }
  static int SelectedRow(Page* p) {
    const auto selected = List(p)->selectedItems();
    return selected.size() == 1 ? List(p)->indexOfTopLevelItem(selected.front()) : -1;
  }

  // Opens the page modally as Step 4 does and acts as the user once it is on
  // screen. A page the user left open is closed afterwards, so a fault fails
  // the test instead of hanging it.
  bool ChooseWith(const std::function<void(frmSelect&)>& user) {
    QTimer::singleShot(0, [user] {
      QPointer<frmSelect> page;
      for (Page* p : Page::LivePages())
        if (auto* select = dynamic_cast<frmSelect*>(p)) page = select;
      if (!page) {
        ADD_FAILURE() << "the device list page is not open";
        return;
      }
      EXPECT_TRUE(page->isVisible());
      EXPECT_TRUE(page->isModal());
      user(*page);
      if (page && !page->IsUnloaded()) {
        ADD_FAILURE() << "the device list page is still open";
        page->Unload();
      }
    });
    return frmSelect::ChooseDevice();
  }

  ScriptedProber prober_;
  Services services_;
  Services* previous_ = nullptr;
};

}  // namespace orvane::testing

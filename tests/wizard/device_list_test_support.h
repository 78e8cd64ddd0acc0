#pragma once
// What the device list page tests share: three devices as the run lists them,
// and a fixture that opens the page on them as the run does.

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "tests/support/test_toolkit.h"
#include "tests/support/wizard_test.h"
#include "wizard/device_list_page.h"

namespace orvane::testing {

// Three devices: one with a disk, one without, and one on a foreign address
// whose host name came as Windows-1252 bytes; only that one did not answer
// the probe. Entry 3 is filled but not listed.
inline DeviceTable ThreeDevices() {
  DeviceTable d{};
  d[0] = {"00:11:22:33:44:55", "192.168.1.20", "255.255.255.0",  "192.168.1.1",
          "ORVANE-A",          "WORKGROUP",    "ORVANE-A.local", "ST380011A",
          156301488,           76896036,       41000000};
  d[1] = {"00:11:22:33:44:66",
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
  d[2] = {"00:11:22:33:44:77",
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
  d[3] = {"00:11:22:33:44:88", "192.168.1.99", "", "", "STALE", "", "", "", 0, 0, 0};
  return d;
}

class DeviceListFixture : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    devices = ThreeDevices();
    rows = {{&devices[0], true}, {&devices[1], true}, {&devices[2], false}};
  }

  DeviceListPage* Open() {
    auto* page = new DeviceListPage(flow, rows);
    page->Load();
    page->ShowModeless();
    return page;
  }
  static QTreeWidget* List(FormWindow* p) {
    return qobject_cast<QTreeWidget*>(p->ControlByName("ListView1"));
  }
  static QStringList Row(FormWindow* p, int row) {
    QStringList cells;
    QTreeWidgetItem* item = List(p)->topLevelItem(row);
    for (int c = 0; item && c < List(p)->columnCount(); ++c) cells << item->text(c);
    return cells;
  }
  static void ClickRow(FormWindow* p, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTreeWidget* list = List(p);
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
  }
  static int SelectedRow(FormWindow* p) {
    const auto selected = List(p)->selectedItems();
    return selected.size() == 1 ? List(p)->indexOfTopLevelItem(selected.front()) : -1;
  }

  // Opens the page modally as the run does, and acts as the user on it.
  std::optional<std::size_t> ChooseWith(std::function<void(DeviceListPage&)> user) {
    ActOnModal<DeviceListPage>(std::move(user));
    return DeviceListPage::Choose(flow, rows);
  }

  DeviceTable devices{};
  std::vector<DeviceRow> rows;
};

}  // namespace orvane::testing

#include "device/pages/frm_select.h"

#include <QApplication>
#include <QLocale>

#include "device/core/list_format.h"
#include "device/pages/services.h"
#include "shell/core/wizard_state.h"
#include "shell/navigation.h"
#include "shell/resources.h"
#include "shell/toolkit.h"

namespace orvane {

namespace {

enum Column {
  kColNo,
  kColReachable,
  kColHostName,
  kColIpAddress,
  kColHdName,
  kColCapacity,
  kColTotal,
  kColUsed
};
constexpr int kColumnCount = 8;

// The Reachable cells are fixed words, the same in both languages, and Next
// reads them back; they are not in the text table.
const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

}  // namespace

char UserDecimalSeparator() {
  // The number cells are plain bytes from the core; a separator outside ASCII
  // (the Arabic one, say) cannot be one of them, and the point stands in.
  const QString point = QLocale::system().decimalPoint();
  const QChar c = point.isEmpty() ? QChar('.') : point.front();
  return c.unicode() > 0x20 && c.unicode() < 0x7F ? char(c.unicode()) : '.';
}

void AutoSizeColumns(QTreeWidget* list) {
  // Each column takes the wider of its header and its widest cell. The list's
  // header stretches its last section (every report list is built so), which
  // fills the width the others leave and keeps it at least at this width; when
  // the columns need more than the list has, the list scrolls sideways.
  for (int i = 0; i < list->columnCount(); ++i) list->resizeColumnToContents(i);
}

frmSelect::frmSelect()
    : Page(LayoutSelect()),
      ListView1(qobject_cast<QTreeWidget*>(ControlByName("ListView1"))),
      Label1(LabelControl("Label1")),
      cmdNext(ButtonControl("cmdNext")),
      cmdExit(ButtonControl("cmdExit")),
      lblVersion(LabelControl("lblVersion")) {
  OnClick(cmdNext, [this] { cmdNext_Click(); });
  OnClick(cmdExit, [this] { ConfirmExit(this); });
}

bool frmSelect::ChooseDevice() {
  auto* page = new frmSelect;
  // Read as the page unloads: the nested loop of the modal wait may delete it
  // before ShowModal returns.
  bool chosen = false;
  QObject::connect(page, &Page::Unloaded, page, [page, &chosen] { chosen = page->Chosen(); });
  page->LoadPage();
  page->ShowModal();
  return chosen && !Ended();
}

void frmSelect::Load() {
  const WizardState& s = State();
  chosen_ = false;
  SetBackColor(this, s.PageBackColor);
  for (QLabel* label : {Label1, lblVersion}) {
    SetBackColor(label, s.LabelBackColor);
    SetForeColor(label, s.LabelForeColor);
  }
  Label1->setText(Text(9));
  cmdNext->setText(Text(1));
  cmdExit->setText(Text(3));
  lblVersion->setText(Text(58));

  ListView1->clear();
  ListView1->setColumnCount(0);
  QStringList headers;
  for (int n = 10; n < 10 + kColumnCount; ++n) headers << Text(n);
  ListView1->setHeaderLabels(headers);
  // Rows stay in the order they are added, which is table order.
  ListView1->setSortingEnabled(false);
  if (s.LastDevice < 0) return;

  const char separator = UserDecimalSeparator();
  {
    // No events are handled between the probes: the page is not on screen
    // yet, and Step 4's tick waits in the modal call that opens it.
    BusyCursor busy;
    for (std::int16_t i = 0; i <= s.LastDevice; ++i) AddDeviceRow(i, separator);
  }
  AutoSizeColumns(ListView1);
}

void frmSelect::AddDeviceRow(std::int16_t index, char decimalSeparator) {
  const DeviceRecord& d = State().Devices[index];
  auto* row = new QTreeWidgetItem(ListView1);
  // Like the report list it stands for, the list selects its first row as
  // that row arrives, so Next works without a click.
  if (index == 0) ListView1->setCurrentItem(row);
  row->setText(kColNo, QString::number(index));
  row->setText(kColHostName, DisplayText(d.HostName));
  row->setText(kColIpAddress, DisplayText(d.IpAddress));
  row->setText(kColHdName, DisplayText(d.DiskModel));
  row->setText(kColCapacity,
               QString::fromStdString(FormatCapacity(d.DiskCapacity, decimalSeparator)));
  row->setText(kColTotal, QString::fromStdString(FormatTotal(d.DiskTotal, decimalSeparator)));
  row->setText(kColUsed,
               QString::fromStdString(FormatUsed(d.DiskTotal, d.DiskAvailable, decimalSeparator)));
  // The probe comes last, once the row's other cells are in place.
  row->setText(kColReachable, IsReachable(d.IpAddress) ? kYes : kNo);
}

void frmSelect::cmdNext_Click() {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  if (selected.isEmpty()) {
    // The user cleared the selection (or no device was listed): say what is
    // missing and stay, rather than hand Step 4 no device at all.
    MsgBox(Text(51));
    return;
  }
  const QTreeWidgetItem* row = selected.front();
  WizardState& s = State();
  s.SelectedDevice = row->text(kColNo).toShort();
  s.SelectedReachable = row->text(kColReachable) != kNo;
  chosen_ = true;
  Unload();
}

void frmSelect::OnCloseBox() {
  ConfirmExit(this);
}

}  // namespace orvane

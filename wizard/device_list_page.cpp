#include "wizard/device_list_page.h"

#include <QLocale>

#include "device/list_format.h"
#include "text/code_page.h"
#include "ui/toolkit.h"
#include "wizard/layouts.h"

namespace orvane {

namespace {

// Bytes a device sent, decoded for display only, the way the shortcut files
// are named after them. The bytes themselves are kept and sent back untouched.
QString DisplayText(std::string_view bytes, const PcCodePage& pc) {
  return QString::fromStdString(DeviceTextToUtf8(bytes, pc));
}

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

// The Reachable cells are fixed words, the same in both languages; they are
// not in the text table.
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

DeviceListPage::DeviceListPage(PageFlow& flow, std::span<const DeviceRow> rows)
    : WizardPage(LayoutDeviceList(), flow),
      rows_(rows.begin(), rows.end()),
      list_(qobject_cast<QTreeWidget*>(ControlByName(controls::kDeviceList))),
      instruction_(LabelControl(controls::kListInstruction)),
      next_(ButtonControl(controls::kNext)),
      exit_(ButtonControl(controls::kExit)) {
  OnClick(next_, [this] { OnNext(); });
  OnClick(exit_, [this] { flow_.ConfirmExit(this); });
}

std::optional<std::size_t> DeviceListPage::Choose(PageFlow& flow, std::span<const DeviceRow> rows) {
  auto* page = new DeviceListPage(flow, rows);
  page->OpenModal();
  return ProgramEnded() ? std::nullopt : page->Choice();
}

void DeviceListPage::OnLoad() {
  choice_.reset();
  SetBackColor(this, kPageBackColor);
  SetBackColor(instruction_, kLabelBackColor);
  SetForeColor(instruction_, kLabelForeColor);
  instruction_->setText(Text(TextId::ChooseDeviceInstruction));
  // A report list takes no name from a label beside it: the instruction above
  // it names it for a screen reader.
  list_->setAccessibleName(Text(TextId::ChooseDeviceInstruction));
  next_->setText(Text(TextId::Next));
  exit_->setText(Text(TextId::Exit));
  DressVersionLabel();

  list_->clear();
  list_->setColumnCount(0);
  QStringList headers;
  for (int n = 0; n < kColumnCount; ++n)
    headers << Text(static_cast<TextId>(static_cast<int>(TextId::ColumnNumber) + n));
  list_->setHeaderLabels(headers);
  // Rows stay in the order they are added, which is table order.
  list_->setSortingEnabled(false);
  if (rows_.empty()) return;

  const char separator = UserDecimalSeparator();
  for (std::size_t i = 0; i < rows_.size(); ++i) AddDeviceRow(i, separator);
  AutoSizeColumns(list_);
}

void DeviceListPage::AddDeviceRow(std::size_t index, char decimalSeparator) {
  const DeviceRecord& d = *rows_[index].device;
  const PcCodePage pc = flow_.codePage();
  auto* row = new QTreeWidgetItem(list_);
  // Like the report list it stands for, the list selects its first row as
  // that row arrives, so Next works without a click.
  if (index == 0) list_->setCurrentItem(row);
  row->setText(kColNo, QString::number(index));
  row->setText(kColHostName, DisplayText(d.HostName, pc));
  row->setText(kColIpAddress, DisplayText(d.IpAddress, pc));
  row->setText(kColHdName, DisplayText(d.DiskModel, pc));
  row->setText(kColCapacity,
               QString::fromStdString(FormatCapacity(d.DiskCapacity, decimalSeparator)));
  row->setText(kColTotal, QString::fromStdString(FormatTotal(d.DiskTotal, decimalSeparator)));
  row->setText(kColUsed,
               QString::fromStdString(FormatUsed(d.DiskTotal, d.DiskAvailable, decimalSeparator)));
  row->setText(kColReachable, rows_[index].reachable ? kYes : kNo);
}

void DeviceListPage::OnNext() {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) {
    // The user cleared the selection (or no device was listed): say what is
    // missing and stay, rather than hand the run no device at all.
    ShowMessageBox(Text(TextId::NoDeviceSelected));
    return;
  }
  choice_ = static_cast<std::size_t>(list_->indexOfTopLevelItem(selected.front()));
  Unload();
}

void DeviceListPage::OnCloseBox() {
  flow_.ConfirmExit(this);
}

}  // namespace orvane

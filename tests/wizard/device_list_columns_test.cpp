// The columns of the device list page: each as wide as its header or its
// widest cell, the last one over the width that remains.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QScrollBar>
#include <numeric>
#include <vector>

#include "tests/wizard/device_list_test_support.h"

namespace orvane {
namespace {

using DeviceListColumnsTest = testing::DeviceListFixture;

// Widths of the list's columns after the load, against what each needs: the
// wider of its header and its widest cell.
struct ColumnWidths {
  std::vector<int> size, need;
  int viewport = 0;
  int Sum() const { return std::accumulate(size.begin(), size.end(), 0); }
};

ColumnWidths Measure(QTreeWidget* list) {
  ColumnWidths w;
  QHeaderView* header = list->header();
  const QFontMetrics metrics(list->font());
  for (int c = 0; c < header->count(); ++c) {
    int widestCell = 0;
    for (int r = 0; r < list->topLevelItemCount(); ++r)
      widestCell = std::max(widestCell, metrics.horizontalAdvance(list->topLevelItem(r)->text(c)));
    w.size.push_back(header->sectionSize(c));
    w.need.push_back(std::max(header->sectionSizeHint(c), widestCell));
  }
  w.viewport = list->viewport()->width();
  return w;
}

// Room for the cell margins the view adds around a text.
constexpr int kSlack = 16;

TEST_F(DeviceListColumnsTest, ShortCellsTakeTheirHeadersWidthAndTheLastColumnFillsTheRest) {
  devices[0] = {"id", "1.2.3.4", "", "", "A", "", "", "X", 156301488, 0, 0};
  rows.resize(1);
  DeviceListPage* p = Open();
  const ColumnWidths w = Measure(List(p));
  ASSERT_EQ(w.size.size(), 8u);
  for (int c = 0; c < 7; ++c) {
    EXPECT_GE(w.size[c], w.need[c]) << c;
    EXPECT_LE(w.size[c], w.need[c] + kSlack) << c;
  }
  EXPECT_EQ(w.Sum(), w.viewport) << "the last column reaches the right edge";
  EXPECT_GT(w.size[7], w.need[7]) << "and is stretched to do so";
}

TEST_F(DeviceListColumnsTest, WideCellsWidenTheirColumnsAndTheListScrollsSideways) {
  devices[1].HostName = "A-VERY-LONG-HOST-NAME-FOR-A-DISK-IN-THE-BASEMENT";
  DeviceListPage* p = Open();
  const ColumnWidths w = Measure(List(p));
  ASSERT_EQ(w.size.size(), 8u);
  for (int c = 0; c < 8; ++c) {
    EXPECT_GE(w.size[c], w.need[c]) << c;
    EXPECT_LE(w.size[c], w.need[c] + kSlack) << c;
  }
  EXPECT_GT(w.size[2], List(p)->header()->sectionSizeHint(2)) << "wider than its header";
  EXPECT_GT(w.Sum(), w.viewport);
  EXPECT_TRUE(List(p)->horizontalScrollBar()->isVisible());
}

}  // namespace
}  // namespace orvane

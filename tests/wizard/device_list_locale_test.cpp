// The device list page under German regional settings (ctest sets LC_ALL for
// this binary): the number cells take the user's decimal comma.

#include <gtest/gtest.h>

#include <QLocale>

#include "tests/wizard/device_list_test_support.h"

namespace orvane {
namespace {

using DeviceListLocaleTest = testing::DeviceListFixture;

TEST_F(DeviceListLocaleTest, NumberCellsUseTheUsersDecimalSeparator) {
  ASSERT_EQ(QLocale::system().decimalPoint(), ",") << "run with LC_ALL=de_DE.UTF-8";
  EXPECT_EQ(UserDecimalSeparator(), ',');
  DeviceListPage* p = Open();
  ASSERT_EQ(List(p)->topLevelItemCount(), 3);
  EXPECT_EQ(Row(p, 0).mid(5), (QStringList{"80GB", "76,9GB", "47%"}));
  EXPECT_EQ(Row(p, 2).mid(5), (QStringList{"122,9GB", "118GB", "50%"}));
  // The address is device data, shown as sent, whatever the locale.
  EXPECT_EQ(Row(p, 0)[3], "192.168.1.20");
}

}  // namespace
}  // namespace orvane

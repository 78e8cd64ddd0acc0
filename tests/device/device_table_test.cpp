// Filling the device table from discovery replies, in arrival order.

#include "device/device_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/codec.h"
#include "tests/device/sample_replies.h"

namespace orvane {
namespace {

using test::MakeReply;

// A readable reply whose identity and host name tell the devices apart.
std::string ReplyFrom(int number) {
  const std::string tag = (number < 10 ? "0" : "") + std::to_string(number);
  return MakeReply("00:0A:1B:2C:3D:" + tag, "FILER" + tag, "WORKGROUP", "FILER" + tag + ".lan",
                   ";HDMODEL='DISK';HDCAPACITY='" + tag + "'");
}

class DeviceTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetDevices(devices, lastDevice); }

  DeviceTable devices;
  std::int16_t lastDevice = 123;
};

TEST_F(DeviceTableTest, ResetLeavesElevenBlankEntries) {
  ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, ReplyFrom(1)));
  ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, ReplyFrom(2)));
  ResetDevices(devices, lastDevice);
  EXPECT_EQ(lastDevice, -1);
  ASSERT_EQ(devices.size(), 11u);
  for (const DeviceRecord& entry : devices) EXPECT_EQ(entry, DeviceRecord{});
}

TEST_F(DeviceTableTest, RepliesFillEntriesInArrivalOrder) {
  for (const int number : {7, 3, 5}) {
    ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, ReplyFrom(number)));
  }
  EXPECT_EQ(lastDevice, 2);
  EXPECT_EQ(devices[0].HostName, "FILER07");
  EXPECT_EQ(devices[1].HostName, "FILER03");
  EXPECT_EQ(devices[2].HostName, "FILER05");
  EXPECT_EQ(devices[1].DeviceId, "00:0A:1B:2C:3D:03");
  EXPECT_EQ(devices[1].HostNameFull, "FILER03.lan");
  EXPECT_EQ(devices[1].DiskCapacity, 3);
  for (std::size_t i = 3; i < devices.size(); ++i) EXPECT_EQ(devices[i], DeviceRecord{}) << i;
}

TEST_F(DeviceTableTest, SameReplyTwiceGivesTwoEntries) {
  ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, test::kWorkedReply));
  ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, test::kWorkedReply));
  EXPECT_EQ(lastDevice, 1);
  EXPECT_EQ(devices[0], devices[1]);
  EXPECT_EQ(devices[1].IpAddress, "192.168.1.20");
}

TEST_F(DeviceTableTest, OtherDatagramsLeaveTheTableAlone) {
  ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, ReplyFrom(1)));
  ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, ReplyFrom(2)));
  const DeviceTable before = devices;
  const std::vector<std::string> junk = {
      "",
      "0C0",
      "0C02S00:0A:1B:2C:3D:4E192.168.0.57;255.255.255.0",
      "0C01S",
      "0C02R00:0A:1B:2C:3D:4E2",
      "0c01r" + std::string(test::kWorkedReply.substr(5)),
      "0C01R00:0A:1B:2C:3D:4E;IP='1.2.3.4';GATEWAY='1.2.3.1'",  // fields missing
      "0C01R00:0A:1B:2C:3D:4E;IP='NETMASK='';GATEWAY='';HOSTNAME='';WORKGROUP='';"
      "HOSTNAME_FULL=''",  // negative length
  };
  for (const std::string& datagram : junk) {
    EXPECT_FALSE(StoreDiscoveryReply(devices, lastDevice, datagram)) << datagram;
    EXPECT_EQ(lastDevice, 1) << datagram;
    EXPECT_EQ(devices, before) << datagram;
  }
  // A readable reply after the junk still lands in the next entry.
  ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, ReplyFrom(3)));
  EXPECT_EQ(lastDevice, 2);
  EXPECT_EQ(devices[2].HostName, "FILER03");
}

TEST_F(DeviceTableTest, TwelfthReplyIsIgnored) {
  for (int number = 0; number < kDeviceCount; ++number) {
    ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, ReplyFrom(number))) << number;
  }
  EXPECT_EQ(lastDevice, 10);
  const DeviceTable full = devices;
  EXPECT_FALSE(StoreDiscoveryReply(devices, lastDevice, ReplyFrom(11)));
  EXPECT_FALSE(StoreDiscoveryReply(devices, lastDevice, ReplyFrom(12)));
  EXPECT_EQ(lastDevice, 10);
  EXPECT_EQ(devices, full);
  EXPECT_EQ(devices[10].HostName, "FILER10");

  // The next scan starts over.
  ResetDevices(devices, lastDevice);
  ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, ReplyFrom(11)));
  EXPECT_EQ(lastDevice, 0);
  EXPECT_EQ(devices[0].HostName, "FILER11");
}

TEST_F(DeviceTableTest, IndexOutsideTheTableWritesNothing) {
  for (const std::int16_t bad : {std::int16_t{-2}, std::int16_t{10}, std::int16_t{11},
                                 std::int16_t{32767}, std::int16_t{-32768}}) {
    std::int16_t last = bad;
    EXPECT_FALSE(StoreDiscoveryReply(devices, last, test::kWorkedReply)) << bad;
    EXPECT_EQ(last, bad);
  }
  for (const DeviceRecord& entry : devices) EXPECT_EQ(entry, DeviceRecord{});
}

}  // namespace
}  // namespace orvane

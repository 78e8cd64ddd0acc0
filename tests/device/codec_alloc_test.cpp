// Reading replies into reused records must not allocate: the receiver handles
// every datagram of a scan, and the table's strings are there to be reused.

#include <gtest/gtest.h>

#include "device/codec.h"
#include "device/device_table.h"
#include "tests/device/allocation_counter.h"
#include "tests/device/sample_replies.h"

namespace orvane {
namespace {

using test::StartCountingAllocations;
using test::StopCountingAllocations;

TEST(DeviceCodecAllocations, ReusedRecordReadsWithoutAllocating) {
  DeviceRecord record;
  ASSERT_TRUE(ParseDiscoveryReply(test::kWorkedReply, record));  // sizes the strings

  StartCountingAllocations();
  bool allRead = true;
  for (int i = 0; i < 1000; ++i)
    allRead = ParseDiscoveryReply(test::kWorkedReply, record) && allRead;
  EXPECT_EQ(StopCountingAllocations(), 0);
  EXPECT_TRUE(allRead);
  EXPECT_EQ(record.DiskAvailable, 70000000);
}

TEST(DeviceCodecAllocations, FreshRecordAllocatesOnlyItsOwnStrings) {
  DeviceRecord record;
  StartCountingAllocations();
  ASSERT_TRUE(ParseDiscoveryReply(test::kWorkedReply, record));
  // At most one buffer per text field; short texts fit in the string itself.
  EXPECT_LE(StopCountingAllocations(), 8);
}

TEST(DeviceCodecAllocations, RefusedDatagramAllocatesNothing) {
  DeviceRecord record;
  StartCountingAllocations();
  EXPECT_FALSE(ParseDiscoveryReply(test::kWorkedNames.substr(0, 120), record));
  EXPECT_FALSE(ParseDiscoveryReply("0C02R00:0A:1B:2C:3D:4E2", record));
  EXPECT_EQ(StopCountingAllocations(), 0);
}

TEST(DeviceCodecAllocations, SecondScanReusesTheTable) {
  DeviceTable devices;
  std::int16_t lastDevice = -1;
  for (int i = 0; i < kDeviceCount; ++i) {
    ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, test::kWorkedReply));
  }
  StartCountingAllocations();
  ResetDevices(devices, lastDevice);
  for (int i = 0; i < kDeviceCount; ++i) {
    ASSERT_TRUE(StoreDiscoveryReply(devices, lastDevice, test::kWorkedReply));
  }
  EXPECT_EQ(StopCountingAllocations(), 0);
}

TEST(DeviceCodecAllocations, ConfigRequestIsBuiltInOneAllocation) {
  DeviceRecord device;
  ASSERT_TRUE(ParseDiscoveryReply(test::kWorkedReply, device));
  StartCountingAllocations();
  const std::string request = ComposeConfigRequest(
      device, "192.168.0.57", "255.255.255.0", "192.168.0.1", "administrator", "a long password");
  EXPECT_EQ(StopCountingAllocations(), 1);
  EXPECT_EQ(request.substr(0, 22), "0C02S00:0A:1B:2C:3D:4E");
}

}  // namespace
}  // namespace orvane

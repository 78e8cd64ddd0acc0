// How fast the receiver can turn discovery replies into table entries, and how
// fast the configuration request is put together. Each benchmark also reports
// the operator new calls per iteration: reading into a reused record must make
// none.

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "device/codec.h"
#include "device/device_table.h"
#include "tests/device/allocation_counter.h"

namespace {

constexpr std::string_view kWorkedReply =
    "0C01R00:0A:1B:2C:3D:4E;IP='192.168.1.20';NETMASK='255.255.255.0';GATEWAY='192.168.1.1';"
    "HOSTNAME='FILER1';WORKGROUP='WORKGROUP';HOSTNAME_FULL='FILER1';HDMODEL='DISK-80G';"
    "HDCAPACITY='156301488';HDTOTAL='76900000';HDAVAIL='70000000'";

void ReportAllocations(benchmark::State& state) {
  state.counters["allocs/iter"] =
      benchmark::Counter(static_cast<double>(orvane::test::StopCountingAllocations()),
                         benchmark::Counter::kAvgIterations);
}

void BM_ParseDiscoveryReply(benchmark::State& state) {
  orvane::DeviceRecord record;
  orvane::ParseDiscoveryReply(kWorkedReply, record);  // sizes the record's strings
  orvane::test::StartCountingAllocations();
  for (auto _ : state) {
    std::string_view datagram = kWorkedReply;
    benchmark::DoNotOptimize(datagram);
    benchmark::DoNotOptimize(orvane::ParseDiscoveryReply(datagram, record));
    benchmark::ClobberMemory();
  }
  ReportAllocations(state);
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kWorkedReply.size()));
}
BENCHMARK(BM_ParseDiscoveryReply);

void BM_StoreFullScan(benchmark::State& state) {
  orvane::DeviceTable devices;
  std::int16_t lastDevice = -1;
  orvane::test::StartCountingAllocations();
  for (auto _ : state) {
    orvane::ResetDevices(devices, lastDevice);
    for (int i = 0; i < orvane::kDeviceCount; ++i) {
      orvane::StoreDiscoveryReply(devices, lastDevice, kWorkedReply);
    }
    benchmark::DoNotOptimize(devices.data());
    benchmark::ClobberMemory();
  }
  ReportAllocations(state);
  state.SetItemsProcessed(state.iterations() * orvane::kDeviceCount);
}
BENCHMARK(BM_StoreFullScan);

void BM_ComposeConfigRequest(benchmark::State& state) {
  orvane::DeviceRecord device;
  orvane::ParseDiscoveryReply(kWorkedReply, device);
  orvane::test::StartCountingAllocations();
  for (auto _ : state) {
    std::string request = orvane::ComposeConfigRequest(device, "192.168.0.57", "255.255.255.0",
                                                       "192.168.0.1", "admin", "s3cret");
    benchmark::DoNotOptimize(request.data());
  }
  ReportAllocations(state);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeConfigRequest);

}  // namespace

BENCHMARK_MAIN();

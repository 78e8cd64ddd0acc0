// main() of hostnet_lab_test. It refuses to run anywhere but in a namespace
// that in_netns.sh made, because these tests ping and broadcast for real.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/hostnet/lab_network.h"

namespace {

// ctest's SKIP_RETURN_CODE for this binary.
constexpr int kSkipped = 77;

bool ReadProbeMethod(const char* argument) {
  constexpr const char* kFlag = "--probe-method=";
  if (std::strncmp(argument, kFlag, std::strlen(kFlag)) != 0) {
    return false;
  }
  const std::string value = argument + std::strlen(kFlag);
  using orvane::ProbeMethod;
  if (value == "datagram") {
    orvane::lab::SetLabProbeMethod(ProbeMethod::Datagram);
  } else if (value == "raw") {
    orvane::lab::SetLabProbeMethod(ProbeMethod::Raw);
  } else {
    orvane::lab::SetLabProbeMethod(ProbeMethod::Auto);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string refusal = orvane::lab::RefusalToRun();
  if (!refusal.empty()) {
    std::fprintf(stderr, "hostnet_lab_test: not running: %s. Run it through in_netns.sh.\n",
                 refusal.c_str());
    return kSkipped;
  }

  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (!ReadProbeMethod(argv[i])) {
      std::fprintf(stderr, "hostnet_lab_test: unknown argument %s\n", argv[i]);
      return 2;
    }
  }

  const int status = RUN_ALL_TESTS();
  const ::testing::UnitTest& run = *::testing::UnitTest::GetInstance();
  if (run.test_to_run_count() == 0) {
    std::fprintf(stderr, "hostnet_lab_test: the filter selected no test\n");
    return 1;
  }
  // A skipped test must show as skipped in ctest, not as passed.
  if (status == 0 && run.skipped_test_count() > 0) {
    return kSkipped;
  }
  return status;
}

// main() of every lab test binary: it refuses to run anywhere but inside the
// lab's PC namespace, so a stray run never broadcasts on the machine's network.

#include <gtest/gtest.h>

#include "tests/lab/lab_net.h"

int main(int argc, char** argv) {
  if (!orvane::lab::InsideLab()) return 77;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

#include "text/secret.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

TEST(Secret, KeepsItsBytesAcrossGrowthAndMovesThemWithoutACopy) {
  Secret secret;
  std::string typed;
  for (int i = 0; i < 200; ++i) {
    secret.Append(char('a' + i % 26));
    typed += char('a' + i % 26);
  }
  secret.PopBack();
  typed.pop_back();
  EXPECT_EQ(secret.View(), typed);
  const char* bytes = secret.View().data();
  Secret moved = std::move(secret);
  EXPECT_EQ(moved.View().data(), bytes) << "the same buffer, not a copy";
  EXPECT_TRUE(secret.Empty());
  moved.Wipe();
  EXPECT_TRUE(moved.Empty());
}
}  // namespace
}  // namespace orvane

// Explorer is started only for a dotted IPv4 address: anything else that could
// reach its command line is refused before a process is made. (The addresses
// it does open are checked in the lab under Wine: tests/windows/wizard_lab.sh.)

#include <gtest/gtest.h>

#include <string>

#include "desktop/shortcuts.h"

namespace orvane {
namespace {

TEST(OpenShortcutTargetsOnWindows, RefusesWhatIsNotAnIpv4Address) {
  const char* const refused[] = {
      "",           "   ",           "192.168.1",       "192.168.1.256", "1.2.3.4.5",
      "1.2.3.",     ".1.2.3",        "1..2.3",          "0001.2.3.4",    "a.b.c.d",
      "1.2.3.4 -e", "1.2.3.4,/root", "\\\\evil\\share", "1.2.3.4\"x",    "1.2.3.4\t",
      "server",
  };
  for (const char* address : refused) {
    const DesktopResult result = OpenShortcutTargets(address);
    EXPECT_FALSE(result.ok) << '"' << address << '"';
    EXPECT_NE(result.error.find("not an IPv4 address"), std::string::npos) << result.error;
  }
}

}  // namespace
}  // namespace orvane

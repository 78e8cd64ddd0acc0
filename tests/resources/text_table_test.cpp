#include "resources/text_table.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// The table's last number: the 58 texts of the wizard's pages and messages,
// then the names and descriptions a screen reader speaks, then what a scan
// checked and how a configuration ended, and what Windows Firewall says.
constexpr int kTextCount = 111;

TEST(TextTableTest, EveryNumberHasATextInBothLanguages) {
  for (int n = 1; n <= kTextCount; ++n) {
    EXPECT_FALSE(LoadResString(700 + n).empty()) << "English text " << n;
    EXPECT_FALSE(LoadResString(500 + n).empty()) << "Chinese text " << n;
  }
}

struct Expected {
  int number;
  const char* text;
};

// Texts whose blanks, quotes and spelling are easy to lose on the way.
TEST(TextTableTest, TextsStandExactlyAsWritten) {
  const Expected cases[] = {
      {701, "Next"},
      {703, "Exit"},
      {704,
       "Thank you for using Orvane. This Program will assist you with setting up your Orvane's "
       "network configuration and create shortcuts for manegement and accessing on your PC's "
       "destop. Please click Next to preceed."},
      {705,
       "Please plug the power cord into an appropriate power outlet. Connect the connector side "
       "of the power cord to the set's power connector terminal(AC IN).  Push the \"Start\" "
       "button on the panel. The power/status LED will be on and keeps blinking during booting "
       "and stop blinking after booting process. Then you can click Next to proceed."},
      {723,
       "Note: Please read the manual for instruction. The factory default Username and "
       "Password for management are \"vexil\" in lower case."},
      {746,
       "Network configuration setup complete. 2 shortcuts have been created on your desktop. "
       "Shortcut \"Setup My Orvane\" is the link to WEB pages, \"Access My Orvane\" is the link "
       "to HD shared folders. Please refer to manual for more information and default folder "
       "access password."},
      {758, "Version v2.0  2004/04/29"},
      {501, "下一步"},
      {505,
       "請先將您的網路硬碟的電源插上，按下面板上的電源開關，稍後約1分鐘等網路硬碟開機完成，這時網路"
       "硬碟"
       "的\"狀態\" LED燈將維持恆亮(如上圖所示)，請按下一步繼續設定。"},
      {510, "No."},
      {558, "版本 v2.0  2004/04/29"},
  };
  for (const auto& c : cases) EXPECT_EQ(LoadResString(c.number), c.text) << c.number;
}

TEST(TextTableTest, LoadTextTakesTheLanguage) {
  EXPECT_EQ(LoadText(TextId::Next, Language::English), "Next");
  EXPECT_EQ(LoadText(TextId::Next, Language::TraditionalChinese), "下一步");
  EXPECT_EQ(LoadText(TextId::Version, Language::TraditionalChinese), "版本 v2.0  2004/04/29");
}

// The names come from the table's own name column: each must stand for its
// number's text.
TEST(TextTableTest, NamedTextsAreTheirNumbers) {
  const std::pair<TextId, const char*> cases[] = {
      {TextId::ExitQuestion, "Are you sure of exiting program?"},
      {TextId::Warning, "Warning"},
      {TextId::ColumnDiskTotal, "HD Available"},
      {TextId::NoDeviceFoundMessage,
       "Scan error. There is no Orvane I can find. Please make sure that the power plug and "
       "network are properly connected then click OK"},
      {TextId::AddressLocated, "Locate an available IP address:"},
      {TextId::NoReply,
       "Setup Orvane configuration failed. No response from Orvane. Please run this setup "
       "program again."},
      {TextId::OpenShortcutsQuestion,
       "Please click OK to open the shortcut and close this program or Cancel to close this "
       "program only without opening shortcut."},
  };
  for (const auto& [id, text] : cases) EXPECT_EQ(LoadText(id, Language::English), text) << text;
}

TEST(TextTableTest, NumbersOutsideTheTableGiveEmptyText) {
  for (int number : {0, 500, 501 + kTextCount, 699, 700, 701 + kTextCount, -1, 32767, 65536 + 701})
    EXPECT_EQ(LoadResString(number), "") << number;
  EXPECT_EQ(LoadText(static_cast<TextId>(0), Language::English), "");
  EXPECT_EQ(LoadText(static_cast<TextId>(kTextCount + 1), Language::English), "");
}

}  // namespace
}  // namespace orvane

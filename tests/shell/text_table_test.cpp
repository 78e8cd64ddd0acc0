#include "shell/core/text_table.h"

#include <gtest/gtest.h>

#include "shell/core/wizard_state.h"

namespace orvane {
namespace {

class TextTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    State() = WizardState{};
    ApplyStartupValues(State());
  }
  void TearDown() override { State() = WizardState{}; }
};

TEST_F(TextTableTest, EveryNumberHasATextInBothLanguages) {
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
TEST_F(TextTableTest, TextsStandExactlyAsWritten) {
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

TEST_F(TextTableTest, LoadTextFollowsTheBase) {
  EXPECT_EQ(LoadText(1), "Next");
  State().TextBase = kChineseBase;
  EXPECT_EQ(LoadText(1), "下一步");
  EXPECT_EQ(LoadText(58), "版本 v2.0  2004/04/29");
  ApplyStartupValues(State());
  EXPECT_EQ(LoadText(1), "Next");
}

TEST_F(TextTableTest, NumbersOutsideTheTableGiveEmptyText) {
  for (int number : {0, 500, 559, 600, 700, 759, -1, 32767, 65536 + 701})
    EXPECT_EQ(LoadResString(number), "") << number;
  EXPECT_EQ(LoadText(0), "");
  EXPECT_EQ(LoadText(59), "");
}

TEST_F(TextTableTest, SumIsFormedIn16BitArithmetic) {
  // 32767 + 2 wraps to -32767, which has no entry; it must not read entry 32769.
  State().TextBase = 32767;
  EXPECT_EQ(LoadText(2), "");
  State().TextBase = 0;
  EXPECT_EQ(LoadText(701), "Next");
}

TEST_F(TextTableTest, StartupValuesAreTheThemeAndEnglish) {
  WizardState s;
  s.TextBase = 500;
  ApplyStartupValues(s);
  EXPECT_EQ(s.TextBase, 700);
  EXPECT_EQ(s.PageBackColor, 9731406u);
  EXPECT_EQ(s.TextBackColor, 2272397u);
  EXPECT_EQ(s.TextForeColor, 0x00FFFFFFu);
  EXPECT_EQ(s.OptionBackColor, 0x00947D4Eu);
  EXPECT_EQ(s.LabelBackColor, 0x00947D4Eu);
  EXPECT_EQ(s.LabelForeColor, 0x00FFFFFFu);
}

}  // namespace
}  // namespace orvane

// Every window as a screen reader meets it, through Qt's accessibility
// interface, in both languages: every control is reached and named, every
// picture that shows something is an image with a description, the status
// marks say what they show, and nothing is spoken in English while the wizard
// speaks Chinese.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QTreeWidget>
#include <map>
#include <set>

#include "tests/device/sample_replies.h"
#include "tests/support/page_driver.h"
#include "tests/wizard/device_list_test_support.h"
#include "wizard/login_page.h"
#include "wizard/setup_run_page.h"

namespace orvane::testing {
namespace {

struct Spoken {
  QAccessible::Role role;
  QString name;
  QString description;
};

// What the accessible tree under the window says for each widget it reaches,
// and the names of the list's column headers.
struct Walk {
  std::map<const QWidget*, Spoken> widgets;
  QStringList headers;
};

void WalkFrom(QAccessibleInterface* node, Walk& walk) {
  for (int i = 0; i < node->childCount(); ++i) {
    QAccessibleInterface* child = node->child(i);
    if (!child || child->state().invisible) continue;
    const Spoken spoken{child->role(), child->text(QAccessible::Name),
                        child->text(QAccessible::Description)};
    if (spoken.role == QAccessible::ColumnHeader) walk.headers << spoken.name;
    if (auto* widget = qobject_cast<QWidget*>(child->object())) walk.widgets[widget] = spoken;
    WalkFrom(child, walk);
  }
}

// The English texts that read differently in Chinese: none of them may be
// spoken while the wizard speaks Chinese.
std::set<QString> EnglishOnlyTexts() {
  std::set<QString> texts;
  for (int n = 1; n < 200; ++n) {
    const auto id = static_cast<TextId>(n);
    const QString en = Text(id, Language::English);
    if (!en.isEmpty() && en != Text(id, Language::TraditionalChinese)) texts.insert(en);
  }
  return texts;
}

class AccessibilityTest : public DeviceListFixture, public ::testing::WithParamInterface<Language> {
 protected:
  Language language() const { return GetParam(); }
  QString L(TextId id) const { return Text(id, language()); }

  // Walks the window and checks what every screen reader relies on.
  Walk Check(FormWindow* window) {
    SCOPED_TRACE(window->objectName().toStdString());
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    EXPECT_NE(root, nullptr);
    Walk walk;
    if (!root) return walk;
    EXPECT_EQ(root->text(QAccessible::Name), window->windowTitle());
    WalkFrom(root, walk);
    for (const ControlSpec& spec : window->Layout().controls) {
      const QWidget* control = window->ControlByName(spec.name);
      const auto it = walk.widgets.find(control);
      if (it == walk.widgets.end()) {
        ADD_FAILURE() << spec.name << " is not reached from the window";
        continue;
      }
      const Spoken& spoken = it->second;
      EXPECT_FALSE(spoken.name.trimmed().isEmpty()) << spec.name << " has no name";
      if (auto* picture = window->PictureControl(spec.name)) {
        EXPECT_EQ(spoken.role, QAccessible::Graphic) << spec.name;
        if (picture->ProgramPicture() != Picture::None) {
          EXPECT_FALSE(spoken.description.isEmpty()) << spec.name << " shows a picture";
        }
      }
    }
    for (const QString& header : walk.headers)
      EXPECT_FALSE(header.isEmpty()) << "a column header has no name";
    if (language() == Language::TraditionalChinese) {
      static const std::set<QString> english = EnglishOnlyTexts();
      for (const auto& [widget, spoken] : walk.widgets) {
        EXPECT_FALSE(english.count(spoken.name)) << "English name: " << spoken.name.toStdString();
        EXPECT_FALSE(english.count(spoken.description))
            << "English description: " << spoken.description.toStdString();
      }
    }
    return walk;
  }

  QString DescriptionOf(FormWindow* window, const char* control) {
    Walk walk = Check(window);
    return walk.widgets[window->ControlByName(control)].description;
  }

  FormWindow* Show(PageId id) { return flow.GoTo(id); }
};

TEST_P(AccessibilityTest, IntroductoryPagesNameEveryControlAndDescribeTheirPictures) {
  // Step 0's load makes the wizard English, so it never speaks Chinese.
  if (language() == Language::English) Check(Show(PageId::Welcome));
  flow.SetLanguage(language());
  for (PageId id : {PageId::PowerOn, PageId::Cabling, PageId::ScanStart}) Check(Show(id));
}

TEST_P(AccessibilityTest, StatusMarksSayWhatTheyShow) {
  flow.SetLanguage(language());
  auto* step4 = static_cast<SetupRunPage*>(Show(PageId::SetupRun));
  EXPECT_EQ(DescriptionOf(step4, "pic1"), L(TextId::MarkInProgress));
  // A run that ends with the device refusing the credentials.
  world.clock.Advance(kScanStartDelay);
  world.Arrive(std::string(test::kWorkedNames));
  ChooseRowWhenShown(0);
  ConfirmLoginWhenShown();
  world.clock.Advance(kScanWindow);
  world.Arrive("0C02R00:0A:1B:2C:3D:4E1");
  ASSERT_EQ(step4->PictureControl("pic3")->ProgramPicture(), Picture::MarkFailed);
  EXPECT_EQ(DescriptionOf(step4, "pic1"), L(TextId::MarkDone));
  EXPECT_EQ(DescriptionOf(step4, "pic3"), L(TextId::MarkFailed));
  EXPECT_EQ(DescriptionOf(step4, "pic4"), "") << "an empty box describes no picture";
}

TEST_P(AccessibilityTest, DeviceListAndLoginPageNameEveryControl) {
  flow.SetLanguage(language());
  const Walk list = Check(Open());
  EXPECT_EQ(list.headers.size(), 8);
  auto* login = new LoginPage(flow);
  login->Load();
  login->ShowModeless();
  const Walk walk = Check(login);
  // The boxes are named by the captions beside them.
  EXPECT_EQ(walk.widgets.at(login->ControlByName("txtPassword")).name, L(TextId::PasswordLabel));
  EXPECT_EQ(walk.widgets.at(login->ControlByName("txtUsername")).name, L(TextId::UserNameLabel));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, AccessibilityTest,
                         ::testing::Values(Language::English, Language::TraditionalChinese),
                         [](const auto& info) {
                           return info.param == Language::English ? "English" : "Chinese";
                         });

}  // namespace
}  // namespace orvane::testing

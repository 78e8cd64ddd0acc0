// The login page: what it hands back, when it stays, and how it is cancelled.

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests/support/test_toolkit.h"
#include "tests/support/wizard_test.h"
#include "ui/form_window.h"
#include "wizard/login_page.h"

namespace orvane {
namespace {

using testing::T;
using testing::Tk;

class LoginPageTest : public testing::WizardTest {
 protected:
  LoginPage* Open() {
    auto* page = new LoginPage(flow);
    page->Load();
    page->ShowModeless();
    return page;
  }
  static QLineEdit* Box(FormWindow* p, const char* name) {
    return qobject_cast<QLineEdit*>(p->ControlByName(name));
  }
  static QStringList LiveNames() {
    QStringList names;
    for (FormWindow* p : FormWindow::LiveWindows()) names << p->objectName();
    return names;
  }
  // Empties a box the way a user does: click into it, select all, delete.
  static void Empty(QLineEdit* box) {
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
  }
  // Types as a user does: keys for ASCII, a committed input-method string for
  // the rest, which is how such characters reach a text box.
  static void Type(QLineEdit* box, const QString& text) {
    for (QChar c : text) {
      if (c.unicode() < 0x80) {
        QTest::keyClicks(box, QString(c));
      } else {
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QApplication::sendEvent(box, &commit);
      }
    }
  }

  // Opens the page modally as Step 4 does, and acts as the user on it.
  std::optional<Credentials> AskWith(std::function<void(LoginPage&)> user) {
    testing::ActOnModal<LoginPage>(std::move(user));
    return LoginPage::Ask(flow);
  }
};

TEST_F(LoginPageTest, LoadFillsThePageWithTheFactoryPair) {
  LoginPage* p = Open();
  EXPECT_EQ(p->windowTitle(), "Orvane Configuration and Setup Utility - Config");
  EXPECT_EQ(p->size(), QSize(345, 264));
  EXPECT_EQ(p->LabelControl("Label1")->text(), "User Name:");
  EXPECT_EQ(p->LabelControl("Label2")->text(), "Password:");
  EXPECT_EQ(p->LabelControl("Label3")->text(), T(TextId::FactoryDefaultNote));
  EXPECT_TRUE(p->LabelControl("Label3")->text().contains("\"vexil\" in lower case."));
  EXPECT_EQ(p->ButtonControl("cmdNext")->text(), "Next");
  EXPECT_EQ(p->ButtonControl("cmdExit")->text(), "Cancel");
  EXPECT_TRUE(p->ButtonControl("cmdNext")->isDefault());
  EXPECT_EQ(Box(p, "txtUsername")->text(), "vexil");
  EXPECT_EQ(Box(p, "txtPassword")->text(), "vexil");
  // The password is shown as typed, not masked.
  EXPECT_EQ(Box(p, "txtPassword")->echoMode(), QLineEdit::Normal);
  EXPECT_EQ(p->palette().color(QPalette::Window), QColor(78, 125, 148));
  for (const char* name : {"Label1", "Label2", "Label3"}) {
    EXPECT_EQ(p->LabelControl(name)->palette().color(QPalette::Window), QColor(78, 125, 148))
        << name;
    EXPECT_EQ(p->LabelControl(name)->palette().color(QPalette::WindowText), QColor(Qt::white))
        << name;
  }
  EXPECT_FALSE(p->Result()) << "nothing is confirmed yet";
  EXPECT_TRUE(Tk().Shown().empty());
}

TEST_F(LoginPageTest, FocusStartsInThePasswordBoxAndTabsInLayoutOrder) {
  LoginPage* p = Open();
  EXPECT_EQ(p->focusWidget(), Box(p, "txtPassword"));
  const char* order[] = {"txtUsername", "cmdExit", "cmdNext", "txtPassword"};
  for (const char* name : order) {
    QTest::keyClick(p->focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(p->focusWidget(), p->ControlByName(name)) << name;
  }
}

TEST_F(LoginPageTest, ChineseBaseCaptionsFromTheChineseEntries) {
  flow.SetLanguage(Language::TraditionalChinese);
  LoginPage* p = Open();
  EXPECT_EQ(p->LabelControl("Label1")->text(), QString::fromUtf8("使用者名稱："));
  EXPECT_EQ(p->ButtonControl("cmdExit")->text(), QString::fromUtf8("取消"));
  // The factory default is a value, not a text of the table.
  EXPECT_EQ(Box(p, "txtUsername")->text(), "vexil");
}

TEST_F(LoginPageTest, EnterAtOnceAcceptsTheFactoryPair) {
  const std::optional<Credentials> got = AskWith([](LoginPage& p) {
    QTest::keyClick(p.focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(p.IsUnloaded());
  });
  ASSERT_TRUE(got);
  EXPECT_EQ(got->userName, "vexil");
  EXPECT_EQ(got->password.View(), "vexil");
  EXPECT_TRUE(Tk().Shown().empty());
  EXPECT_TRUE(LiveNames().isEmpty());
}

TEST_F(LoginPageTest, AnEmptyBoxAsksForBothAndThePageStays) {
  for (const char* emptied : {"txtUsername", "txtPassword"}) {
    SCOPED_TRACE(emptied);
    Tk().Reset();
    LoginPage* p = Open();
    Empty(Box(p, emptied));
    QTest::mouseClick(p->ButtonControl("cmdNext"), Qt::LeftButton);
    ASSERT_EQ(Tk().Shown().size(), 1u);
    EXPECT_EQ(Tk().Shown()[0].text, "Please input the Username and Password.");
    EXPECT_EQ(Tk().Shown()[0].title, "TAVO");
    EXPECT_EQ(Tk().Shown()[0].buttons, Buttons::Ok);
    EXPECT_FALSE(p->IsUnloaded());
    EXPECT_TRUE(p->isVisible());
    EXPECT_FALSE(p->Result());
    // Corrected, Next goes through.
    QTest::keyClicks(Box(p, emptied), "again");
    QTest::keyClick(Box(p, emptied), Qt::Key_Return);
    EXPECT_TRUE(p->IsUnloaded());
    EXPECT_TRUE(p->Result());
    EXPECT_EQ(Tk().Shown().size(), 1u);
  }
}

struct TypedCase {
  const char* name;
  QString userName;
  QString password;
  std::string storedUserName;
  std::string storedPassword;
};

void PrintTo(const TypedCase& c, std::ostream* os) {
  *os << c.name;
}

class StoredAsTyped : public LoginPageTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(StoredAsTyped, NeitherTrimmedNorEscaped) {
  const TypedCase& c = GetParam();
  const std::optional<Credentials> got = AskWith([&c](LoginPage& p) {
    Empty(Box(&p, "txtUsername"));
    Type(Box(&p, "txtUsername"), c.userName);
    Empty(Box(&p, "txtPassword"));
    Type(Box(&p, "txtPassword"), c.password);
    QTest::mouseClick(p.ButtonControl("cmdNext"), Qt::LeftButton);
    // Handed on, the password stays neither in the box nor in its undo steps.
    EXPECT_TRUE(Box(&p, "txtPassword")->text().isEmpty());
    EXPECT_FALSE(Box(&p, "txtPassword")->isUndoAvailable());
  });
  ASSERT_TRUE(got);
  // In the PC's code page (UTF-8 on Linux); its bytes are tested in the desktop suite.
  EXPECT_EQ(got->userName, CredentialBytes(c.storedUserName, flow.codePage())->View());
  EXPECT_EQ(got->password.View(), CredentialBytes(c.storedPassword, flow.codePage())->View());
  EXPECT_TRUE(Tk().Shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Typed, StoredAsTyped,
    ::testing::Values(
        TypedCase{"OneBlankPassword", "vexil", " ", "vexil", " "},
        TypedCase{"SeparatorAndQuotes", "ad;min\"'x", "p;w\"d'", "ad;min\"'x", "p;w\"d'"},
        TypedCase{"BlanksAroundKept", "  admin ", " secret  ", "  admin ", " secret  "},
        TypedCase{"NonAscii", QString::fromUtf8("admín"), QString::fromUtf8("pässwört"),
                  "adm\xC3\xADn", "p\xC3\xA4ssw\xC3\xB6rt"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoginPageTest, CancelThenCancelKeepsThePageAndItsBoxes) {
  LoginPage* p = Open();
  Empty(Box(p, "txtPassword"));
  QTest::keyClicks(Box(p, "txtPassword"), "secret");
  QWidget* focusBefore = p->focusWidget();
  Tk().QueueAnswers({Answer::Cancel});
  QTest::keyClick(p->focusWidget(), Qt::Key_Escape);
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_EQ(Tk().Shown()[0].text, "Are you sure of exiting setup?");
  EXPECT_EQ(Tk().Shown()[0].title, "Warning");
  EXPECT_EQ(Tk().Shown()[0].buttons, Buttons::OkCancel);
  EXPECT_FALSE(p->IsUnloaded());
  EXPECT_EQ(Box(p, "txtUsername")->text(), "vexil");
  EXPECT_EQ(Box(p, "txtPassword")->text(), "secret");
  EXPECT_EQ(p->focusWidget(), focusBefore);
  EXPECT_EQ(LiveNames(), QStringList{"frmConfigSimple"});
  EXPECT_FALSE(p->Result());
  EXPECT_EQ(Tk().EndCount(), 0);
}

TEST_F(LoginPageTest, ACharacterThePcsCodePageCannotHoldIsNotSent) {
  if (flow.codePage().utf8First) GTEST_SKIP() << "credentials leave as UTF-8, which holds all";
  LoginPage* p = Open();
  Type(Box(p, "txtPassword"), QString::fromUtf8("\u0F00"));  // Tibetan: in no ANSI code page
  QTest::mouseClick(p->ButtonControl("cmdNext"), Qt::LeftButton);
  ASSERT_EQ(Tk().Shown().size(), 1u);
  EXPECT_TRUE(Tk().Shown()[0].text.contains(
      QString("this PC's code page (%1) cannot send").arg(flow.codePage().codePage)));
  EXPECT_FALSE(p->IsUnloaded());
  EXPECT_FALSE(p->Result());
}

// Where a cancelled login leads is the setup run's to decide (its page test).
TEST_F(LoginPageTest, CancelThenOkClosesThePageWithNothing) {
  const std::optional<Credentials> got = AskWith([](LoginPage& p) {
    Tk().QueueAnswers({Answer::Ok});
    QTest::mouseClick(p.ButtonControl("cmdExit"), Qt::LeftButton);
  });
  EXPECT_FALSE(got);
  EXPECT_TRUE(LiveNames().isEmpty());
  EXPECT_EQ(Tk().Shown().size(), 1u);
  EXPECT_EQ(Tk().EndCount(), 0);
}

TEST_F(LoginPageTest, CloseBoxIsCancelWithItsConfirmation) {
  const std::optional<Credentials> got = AskWith([](LoginPage& p) {
    Tk().QueueAnswers({Answer::Cancel});
    p.close();
    EXPECT_FALSE(p.IsUnloaded()) << "Cancel in the confirmation keeps the page";
    EXPECT_EQ(Tk().Shown().back().text, T(TextId::ExitSetupQuestion));
    Tk().QueueAnswers({Answer::Ok});
    p.close();
  });
  EXPECT_FALSE(got);
  EXPECT_EQ(Tk().Shown().size(), 2u);
  EXPECT_TRUE(LiveNames().isEmpty());
}

}  // namespace
}  // namespace orvane

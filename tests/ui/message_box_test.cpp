// The real message box (not the tests' toolkit): details behind a button that
// keeps the wizard's own label, in a text box the user can select and copy.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTextEdit>
#include <QTimer>

#include "tests/support/test_toolkit.h"
#include "ui/toolkit.h"

namespace orvane {
namespace {

TEST(MessageBoxDetails, TheButtonKeepsItsLabelAndTheDetailsCanBeCopied) {
  SetToolkit(nullptr);
  QStringList labels;
  QString details;
  bool readOnly = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* button : box->buttons()) {
      if (box->buttonRole(button) != QMessageBox::ActionRole) continue;
      labels << button->text();
      button->click();  // shows the details
      QCoreApplication::processEvents();
      labels << button->text();
      button->click();  // hides them
      QCoreApplication::processEvents();
      labels << button->text();
    }
    if (const auto* text = box->findChild<QTextEdit*>()) {
      details = text->toPlainText();
      readOnly = text->isReadOnly();
    }
    box->button(QMessageBox::Ok)->click();
  });
  Message message{"Nothing found."};
  message.details = "Line one\r\nLine two";
  message.detailsButton = "檢查了哪些項目";
  const Answer answer = ShowMessageBox(message);
  SetToolkit(&testing::Tk());
  EXPECT_EQ(answer, Answer::Ok);
  EXPECT_EQ(labels, QStringList(3, "檢查了哪些項目"));
  EXPECT_TRUE(details.contains("Line two"));
  EXPECT_TRUE(readOnly);
}

}  // namespace
}  // namespace orvane

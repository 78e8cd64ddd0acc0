#include "ui/toolkit.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

namespace orvane {
namespace {

class QtToolkit final : public Toolkit {
 public:
  Answer ShowMessageBox(const QString& text, Buttons buttons, Icon icon, const QString& title,
                        const BoxDetails& details) override {
    QMessageBox box(icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, title,
                    text, QMessageBox::NoButton, QApplication::activeWindow());
    // Texts can carry names a device sent; never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    QPushButton* cancel = nullptr;
    if (buttons == Buttons::OkCancel) cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel ? cancel : ok);
    if (!details.text.isEmpty()) {
      // The details show in a read-only text box the user can select and
      // copy from. Qt names their button itself and renames it on every
      // click, in English; the label of the wizard's own language is set
      // again right after Qt's.
      box.setDetailedText(details.text);
      for (QAbstractButton* button : box.buttons()) {
        if (box.buttonRole(button) != QMessageBox::ActionRole) continue;
        button->setText(details.button);
        QObject::connect(
            button, &QAbstractButton::clicked, button,
            [button, label = details.button] { button->setText(label); }, Qt::QueuedConnection);
      }
    }
    box.exec();
    return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
  }

  void LetEventsRun() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }

  void EndProgram() override {
    // The run is over: nothing else may act, not even pending events or
    // destructors of windows still on the stack. Files were closed by their writers.
    std::fflush(nullptr);
    std::_Exit(0);
  }

  bool ProgramEnded() const override { return false; }
};

QtToolkit& QtInstance() {
  static QtToolkit instance;
  return instance;
}

Toolkit* installed = nullptr;

}  // namespace

Toolkit& CurrentToolkit() {
  return installed ? *installed : QtInstance();
}
void SetToolkit(Toolkit* toolkit) {
  installed = toolkit;
}

Answer ShowMessageBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
  return CurrentToolkit().ShowMessageBox(text, buttons, icon, title, {});
}
Answer ShowMessageBox(const Message& message) {
  return CurrentToolkit().ShowMessageBox(
      QString::fromStdString(message.text), message.buttons, message.icon,
      QString::fromStdString(message.title),
      {QString::fromStdString(message.details), QString::fromStdString(message.detailsButton)});
}
void LetEventsRun() {
  CurrentToolkit().LetEventsRun();
}
void EndProgram() {
  CurrentToolkit().EndProgram();
}
bool ProgramEnded() {
  return CurrentToolkit().ProgramEnded();
}

BusyCursor::BusyCursor() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
}
BusyCursor::~BusyCursor() {
  QApplication::restoreOverrideCursor();
}

}  // namespace orvane

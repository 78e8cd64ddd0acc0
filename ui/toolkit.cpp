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
  Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title) override {
    QMessageBox box(icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, title,
                    text, QMessageBox::NoButton, QApplication::activeWindow());
    // Texts can carry names a device sent; never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    QPushButton* cancel = nullptr;
    if (buttons == Buttons::OkCancel) cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel ? cancel : ok);
    box.exec();
    return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
  }

  void Yield() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }

  void End() override {
    // The run is over: nothing else may act, not even pending events or
    // destructors of windows still on the stack. Files were closed by their writers.
    std::fflush(nullptr);
    std::_Exit(0);
  }

  bool Ended() const override { return false; }
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

Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
  return CurrentToolkit().MsgBox(text, buttons, icon, title);
}
Answer MsgBox(const Message& message) {
  return MsgBox(QString::fromStdString(message.text), message.buttons, message.icon,
                QString::fromStdString(message.title));
}
void Yield() {
  CurrentToolkit().Yield();
}
void End() {
  CurrentToolkit().End();
}
bool Ended() {
  return CurrentToolkit().Ended();
}

BusyCursor::BusyCursor() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
}
BusyCursor::~BusyCursor() {
  QApplication::restoreOverrideCursor();
}

}  // namespace orvane

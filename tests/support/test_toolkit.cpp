#include "tests/support/test_toolkit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "tests/support/page_driver.h"
#include "ui/form_window.h"

namespace orvane::testing {

Answer TestToolkit::ShowMessageBox(const QString& text, Buttons buttons, Icon icon,
                                   const QString& title, const BoxDetails& details) {
  shown_.push_back({text, title, buttons, icon, ended_, details});
  if (onBox) onBox(shown_.back());
  if (answers_.empty()) return Answer::Ok;
  const Answer a = answers_.front();
  answers_.pop_front();
  return buttons == Buttons::Ok ? Answer::Ok : a;
}

void TestToolkit::LetEventsRun() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TestToolkit::EndProgram() {
  ++endCount_;
  ended_ = true;
  // As in production nothing of the ended run may act any more: every window
  // goes, and with it its timers and its receiver.
  for (FormWindow* window : FormWindow::LiveWindows()) window->Unload();
}

void TestToolkit::QueueAnswers(std::initializer_list<Answer> answers) {
  answers_.insert(answers_.end(), answers.begin(), answers.end());
}

void TestToolkit::Reset() {
  answers_.clear();
  shown_.clear();
  onBox = nullptr;
  ended_ = false;
  endCount_ = 0;
}

TestToolkit& Tk() {
  static TestToolkit toolkit;
  return toolkit;
}

void ResetWindows() {
  ForgetPendingActions();
  for (FormWindow* window : FormWindow::LiveWindows()) window->Unload();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  Tk().Reset();
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  // Waits in an event loop woken every 5 ms, not in a busy loop, so a test that
  // measures the wizard's own CPU use is not drowned by its own polling.
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;
  QTimer check;
  check.setInterval(5);
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (condition() || clock.elapsed() > timeoutMs) loop.quit();
  });
  if (condition()) return true;
  check.start();
  loop.exec();
  return condition();
}

}  // namespace orvane::testing

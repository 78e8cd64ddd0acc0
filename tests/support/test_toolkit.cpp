#include "tests/support/test_toolkit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include "shell/core/wizard_state.h"
#include "shell/page.h"

namespace orvane::testing {

Answer TestToolkit::MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
  shown_.push_back({text, title, buttons, icon, ended_});
  if (onBox) onBox(shown_.back());
  if (answers_.empty()) return Answer::Ok;
  const Answer a = answers_.front();
  answers_.pop_front();
  return buttons == Buttons::Ok ? Answer::Ok : a;
}

void TestToolkit::Yield() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TestToolkit::End() {
  ++endCount_;
  ended_ = true;
  // As in production nothing of the ended run may act any more: every page
  // goes, and with it its timers and its receiver.
  for (Page* page : Page::LivePages()) page->Unload();
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

void ResetWizard() {
  for (Page* page : Page::LivePages()) page->Unload();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  Tk().Reset();
  // As after the first load of Step 0, so any page can be tested on its own.
  State() = WizardState{};
  ApplyStartupValues(State());
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);
  }
  return true;
}

}  // namespace orvane::testing

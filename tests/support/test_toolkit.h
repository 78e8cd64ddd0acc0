#pragma once
// A toolkit for GUI tests: message boxes are answered from a queue and recorded,
// and End is observed instead of ending the test process.

#include <deque>
#include <functional>
#include <vector>

#include "ui/toolkit.h"

namespace orvane::testing {

struct ShownBox {
  QString text;
  QString title;
  Buttons buttons;
  Icon icon;
  bool afterEnd;  // shown although the program had already ended: always a fault
  BoxDetails details = {};
};

class TestToolkit : public Toolkit {
 public:
  Answer ShowMessageBox(const QString& text, Buttons buttons, Icon icon, const QString& title,
                        const BoxDetails& details) override;
  void LetEventsRun() override;
  void EndProgram() override;
  bool ProgramEnded() const override { return ended_; }

  // The answers of the next boxes, in order; an unqueued box answers OK.
  void QueueAnswers(std::initializer_list<Answer> answers);
  // Runs while the next box is "open" (before it answers), as a user could act.
  std::function<void(const ShownBox&)> onBox;

  const std::vector<ShownBox>& Shown() const { return shown_; }
  int EndCount() const { return endCount_; }
  void Reset();

 private:
  std::deque<Answer> answers_;
  std::vector<ShownBox> shown_;
  bool ended_ = false;
  int endCount_ = 0;
};

// The toolkit every GUI test runs with (installed by the GUI test main).
TestToolkit& Tk();

// Unloads and deletes every window and resets the toolkit.
void ResetWindows();

// Processes events until the condition holds or the time runs out.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 2000);

}  // namespace orvane::testing

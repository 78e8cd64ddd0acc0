#pragma once
// The window toolkit operations every window uses: showing a message box,
// letting pending events run and ending the program. They all go through one
// small interface, the one global hook for tests: a test installs its own to
// answer message boxes, watch what was shown and observe the end of the
// program without the test process dying.

#include <QString>

#include "resources/message.h"

namespace orvane {

// The caption of every message box that names no title of its own.
inline const QString kAppTitleText = QString::fromUtf8(kAppTitle.data(), kAppTitle.size());

// More of a message, behind a button of its own, to read and to copy.
struct BoxDetails {
  QString text;    // empty: the box has no details
  QString button;  // the label of the button that shows them
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // A modal message box; returns the button pressed.
  virtual Answer ShowMessageBox(const QString& text, Buttons buttons, Icon icon,
                                const QString& title, const BoxDetails& details) = 0;
  // Processes every pending event (paint, timer tick, datagram, click), then returns.
  virtual void LetEventsRun() = 0;
  // Ends the program at once. In production it does not return. Where it returns
  // (tests), ProgramEnded() is true from then on and every window has been unloaded, so
  // handlers check ProgramEnded() after any call that may end the run.
  virtual void EndProgram() = 0;
  virtual bool ProgramEnded() const = 0;
};

// The toolkit in force: the Qt one unless a test installed another.
Toolkit& CurrentToolkit();
// Installs a toolkit (tests); nullptr restores the Qt one.
void SetToolkit(Toolkit* toolkit);

// Shorthands for the toolkit in force.
Answer ShowMessageBox(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                      const QString& title = kAppTitleText);
Answer ShowMessageBox(const Message& message);
void LetEventsRun();
void EndProgram();
bool ProgramEnded();

// Shows the busy cursor for as long as it lives: around work that blocks the
// only thread (probes), so the user sees that something is going on.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace orvane

#pragma once
// Acting on pages as a user would, from inside modal waits: the action runs as
// soon as the page shows, from the event loop that waits for it.

#include <QString>
#include <functional>

namespace orvane {
class FormWindow;
}

namespace orvane::testing {

// The live window of that name, or nullptr.
FormWindow* FindPage(const char* name);

// Runs the action once, as soon as a window of that name is on screen.
void WhenShown(const char* name, std::function<void(FormWindow*)> action);

// Drops the actions still waiting for their page (a test that ended early).
void ForgetPendingActions();

// Runs the function from the event loop, as a datagram arrival would.
void Later(std::function<void()> fn, int ms = 0);

// On the device list page, when it shows: choose that row, then Next.
void ChooseRowWhenShown(int row);
// The same for the row of the device with that host name, wherever it stands:
// on a real network the order of the replies is not promised.
void ChooseHostWhenShown(const QString& host);

// On the login page, when it shows: fill the boxes, then Next.
void ConfirmLoginWhenShown(const QString& user = "vexil", const QString& password = "vexil");

}  // namespace orvane::testing

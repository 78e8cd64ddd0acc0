#include "tests/support/page_driver.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

#include "ui/form_window.h"

namespace orvane::testing {

FormWindow* FindPage(const char* name) {
  for (FormWindow* p : FormWindow::LiveWindows())
    if (p->objectName() == QLatin1String(name)) return p;
  return nullptr;
}

namespace {

// Waits for the Show event of a page of that name, so waiting costs nothing
// (no polling that would count in a measurement of the wizard's own CPU use).
class ShowWatcher;
QList<QPointer<ShowWatcher>>& Watchers() {
  static QList<QPointer<ShowWatcher>> watchers;
  return watchers;
}

class ShowWatcher : public QObject {
 public:
  ShowWatcher(const char* name, std::function<void(FormWindow*)> action)
      : name_(name), action_(std::move(action)) {
    qApp->installEventFilter(this);
    Watchers().append(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->objectName() == QLatin1String(name_)) {
      if (auto* page = qobject_cast<FormWindow*>(watched)) {
        qApp->removeEventFilter(this);
        // Acts once the page is fully shown, from the loop that waits for it.
        QPointer<FormWindow> guard(page);
        QTimer::singleShot(0, [guard, action = std::move(action_)] {
          if (guard && !guard->IsUnloaded()) action(guard);
        });
        deleteLater();
      }
    }
    return false;
  }

 private:
  const char* name_;
  std::function<void(FormWindow*)> action_;
};

}  // namespace

void ForgetPendingActions() {
  for (const auto& w : Watchers())
    if (w) {
      qApp->removeEventFilter(w);
      delete w.data();
    }
  Watchers().clear();
}

void WhenShown(const char* name, std::function<void(FormWindow*)> action) {
  // A page already on screen is acted on at once (from the event loop).
  if (FormWindow* p = FindPage(name); p && p->isVisible()) {
    QPointer<FormWindow> guard(p);
    QTimer::singleShot(0, [guard, action = std::move(action)] {
      if (guard && !guard->IsUnloaded()) action(guard);
    });
    return;
  }
  new ShowWatcher(name, std::move(action));
}

void Later(std::function<void()> fn, int ms) {
  QTimer::singleShot(ms, std::move(fn));
}

void ChooseRowWhenShown(int row) {
  WhenShown("frmSelect", [row](FormWindow* p) {
    auto* list = static_cast<QTreeWidget*>(p->ControlByName("ListView1"));
    list->setCurrentItem(list->topLevelItem(row));
    p->ButtonControl("cmdNext")->click();
  });
}

void ChooseHostWhenShown(const QString& host) {
  WhenShown("frmSelect", [host](FormWindow* p) {
    auto* list = static_cast<QTreeWidget*>(p->ControlByName("ListView1"));
    const QList<QTreeWidgetItem*> rows = list->findItems(host, Qt::MatchExactly, 2);
    if (rows.size() != 1) {
      // The list stays up: the test that waits for the run fails, and says why here.
      std::fprintf(stderr, "%s is listed %lld times\n", qPrintable(host),
                   static_cast<long long>(rows.size()));
      return;
    }
    list->setCurrentItem(rows.front());
    p->ButtonControl("cmdNext")->click();
  });
}

void ConfirmLoginWhenShown(const QString& user, const QString& password) {
  WhenShown("frmConfigSimple", [user, password](FormWindow* p) {
    static_cast<QLineEdit*>(p->ControlByName("txtUsername"))->setText(user);
    static_cast<QLineEdit*>(p->ControlByName("txtPassword"))->setText(password);
    p->ButtonControl("cmdNext")->click();
  });
}

}  // namespace orvane::testing

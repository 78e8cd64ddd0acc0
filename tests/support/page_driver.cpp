#include "tests/support/page_driver.h"

#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>

#include "shell/page.h"

namespace orvane::testing {

Page* FindPage(const char* name) {
  for (Page* p : Page::LivePages())
    if (p->objectName() == QLatin1String(name)) return p;
  return nullptr;
}

void WhenShown(const char* name, std::function<void(Page*)> action) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, name, action = std::move(action)] {
    Page* p = FindPage(name);
    if (!p || !p->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    action(p);
  });
  timer->start();
}

void Later(std::function<void()> fn, int ms) {
  QTimer::singleShot(ms, std::move(fn));
}

void ChooseRowWhenShown(int row) {
  WhenShown("frmSelect", [row](Page* p) {
    auto* list = static_cast<QTreeWidget*>(p->ControlByName("ListView1"));
    list->setCurrentItem(list->topLevelItem(row));
    p->ButtonControl("cmdNext")->click();
  });
}

void ConfirmLoginWhenShown(const QString& user, const QString& password) {
  WhenShown("frmConfigSimple", [user, password](Page* p) {
    static_cast<QLineEdit*>(p->ControlByName("txtUsername"))->setText(user);
    static_cast<QLineEdit*>(p->ControlByName("txtPassword"))->setText(password);
    p->ButtonControl("cmdNext")->click();
  });
}

}  // namespace orvane::testing

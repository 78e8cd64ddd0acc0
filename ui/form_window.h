#pragma once
// A form window: its controls built from a layout table, loaded afresh every
// time it is created, shown modal or not, and unloaded (destroyed) when left.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/layout.h"
#include "ui/picture_box.h"

namespace orvane {

class FormWindow : public QWidget {
  Q_OBJECT

 public:
  explicit FormWindow(const WindowSpec& layout);
  ~FormWindow() override;

  const WindowSpec& Layout() const { return layout_; }

  // Runs the window's load handler; the creator calls it once, before showing.
  void Load();
  // Shows the window as an ordinary one, centred, focus on its first control.
  void ShowModeless();
  // Shows the window modally: returns once it has been unloaded, while other
  // events keep running.
  void ShowModal();
  // Hides the window and destroys it once control is back in the event loop
  // and nothing holds it, so handlers further up the stack may still look at
  // it safely.
  void Unload();
  bool IsUnloaded() const { return unloaded_; }

  // Keeps the window from being destroyed while it lives, even if it is
  // unloaded meanwhile: around a call that lets events run (a modal wait, a
  // yield) with the window's own code further up the stack.
  class Hold {
   public:
    explicit Hold(FormWindow* window);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    QPointer<FormWindow> window_;
  };

  // Every window that exists and is not unloaded, oldest first.
  static QList<FormWindow*> LiveWindows();

  QWidget* ControlByName(const char* name) const;
  QPushButton* ButtonControl(const char* name) const;
  QLabel* LabelControl(const char* name) const;
  PictureBox* PictureControl(const char* name) const;

  void SetBackColor(QWidget* widget, std::uint32_t bgr);
  void SetForeColor(QWidget* widget, std::uint32_t bgr);

 signals:
  void Unloaded();

 protected:
  // The window's load handler: sets every control anew.
  virtual void OnLoad() = 0;
  // The window's close box. The default unloads the window and, as no other
  // window is then left, ends the program.
  virtual void OnCloseBox();

  // Connects a click handler; no handler runs once the program has ended.
  void OnClick(QPushButton* button, std::function<void()> handler);

  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void BuildControls();
  void PressKeyButton(Role role);
  void FocusFirstControl();
  void CentreOnScreen();
  void Release();

  const WindowSpec& layout_;
  std::map<std::string, QWidget*> controls_;
  std::vector<QWidget*> tabOrder_;
  bool unloaded_ = false;
  int holds_ = 0;
};

}  // namespace orvane

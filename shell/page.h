#pragma once
// A wizard window: built from its layout table, loaded afresh every time it is
// created, shown modal or not, and unloaded (destroyed) when left.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "shell/layout.h"

namespace orvane {

// A picture box: shows a bitmap at its top-left corner, or scaled down to fit
// (keeping its proportions) where the box is smaller than the picture.
// It draws the picture itself rather than through QLabel's pixmap, which would
// copy a 24-bit step picture into 32 bits; shown unscaled, the picture is drawn
// straight from the program's data.
class PictureBox : public QLabel {
 public:
  explicit PictureBox(QWidget* parent);
  void SetPicture(const QImage& picture);
  // The picture as the box draws it: as loaded, or fitted to the box in the
  // screen's pixels (its device pixel ratio set). Null for an empty box.
  const QImage& Shown() const { return shown_; }
  int PictureNumber() const { return number_; }
  void SetPictureNumber(int number);  // 0 clears the box

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int number_ = 0;
  QImage shown_;
};

class Page : public QWidget {
  Q_OBJECT

 public:
  explicit Page(const WindowSpec& layout);
  ~Page() override;

  const WindowSpec& Layout() const { return layout_; }

  // Runs the page's load handler; the creator calls it once, before showing.
  void LoadPage();
  // Shows the page as an ordinary window, centred, focus on its first control.
  void ShowPage();
  // Shows the page modally: returns once the page has been unloaded, while
  // other events keep running.
  void ShowModal();
  // Hides the page and destroys it once control is back in the event loop, so
  // handlers further up the stack may still look at it safely.
  void Unload();
  bool IsUnloaded() const { return unloaded_; }

  // Every page that exists and is not unloaded, oldest first.
  static QList<Page*> LivePages();

  QWidget* ControlByName(const char* name) const;
  QPushButton* ButtonControl(const char* name) const;
  QLabel* LabelControl(const char* name) const;
  PictureBox* PictureControl(const char* name) const;

  void SetBackColor(QWidget* widget, std::uint32_t bgr);
  void SetForeColor(QWidget* widget, std::uint32_t bgr);

 signals:
  void Unloaded();

 protected:
  // The page's load handler: sets every control anew.
  virtual void Load() = 0;
  // The window's close box. The default unloads the page and, as no other page
  // is then left, ends the program.
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

  const WindowSpec& layout_;
  std::map<std::string, QWidget*> controls_;
  std::vector<QWidget*> tabOrder_;
  bool unloaded_ = false;
  bool inModalWait_ = false;
};

}  // namespace orvane

#include "wizard/setup_run_page.h"

#include "wizard/device_list_page.h"
#include "wizard/layouts.h"
#include "wizard/login_page.h"

namespace orvane {

namespace {

// The status rows, top to bottom: the mark picture and the caption beside it.
struct StatusRow {
  const char* markBox;
  const char* captionLabel;
  TextId caption;
};
constexpr StatusRow kRows[] = {
    {controls::kRowMarks[0], controls::kRowCaptions[0], TextId::ScanRow},
    {controls::kRowMarks[1], controls::kRowCaptions[1], TextId::AccessRow},
    {controls::kRowMarks[2], controls::kRowCaptions[2], TextId::ConfigurationRow},
    {controls::kRowMarks[3], controls::kRowCaptions[3], TextId::ShortcutsRow}};

// The mark's picture and the words a screen reader speaks for it; an empty box
// shows nothing and says nothing beyond its row's name.
struct MarkLook {
  Picture picture;
  std::optional<TextId> words;
};
MarkLook LookOf(Mark mark) {
  switch (mark) {
    case Mark::Running:
      return {Picture::MarkInProgress, TextId::MarkInProgress};
    case Mark::Done:
      return {Picture::MarkDone, TextId::MarkDone};
    case Mark::Failed:
      return {Picture::MarkFailed, TextId::MarkFailed};
    case Mark::None:
      break;
  }
  return {Picture::None, std::nullopt};
}

}  // namespace

SetupRunPage::SetupRunPage(PageFlow& flow)
    : WizardPage(LayoutSetupRun(), flow),
      previous_(ButtonControl(controls::kPrevious)),
      exit_(ButtonControl(controls::kExit)),
      status_(LabelControl(controls::kStatus)),
      run_(flow.services(), *this, flow.language()) {
  OnClick(previous_, [this] { run_.GoBack(); });
  OnClick(exit_, [this] { flow_.ConfirmExit(this); });
  // Leaving the page by any road stops the run at once, not when the page
  // object is finally deleted.
  connect(this, &FormWindow::Unloaded, this, [this] { run_.Stop(); });
}

SetupRunPage::~SetupRunPage() = default;

void SetupRunPage::OnLoad() {
  SetBackColor(this, kPageBackColor);
  QLabel* heading = LabelControl(controls::kStatusHeading);
  for (const StatusRow& row : kRows) SetBackColor(LabelControl(row.captionLabel), kLabelBackColor);
  SetBackColor(heading, kLabelBackColor);
  SetBackColor(status_, kTextBackColor);
  for (const StatusRow& row : kRows) SetForeColor(LabelControl(row.captionLabel), kLabelForeColor);
  for (QLabel* label : {heading, status_}) SetForeColor(label, kLabelForeColor);
  for (const StatusRow& row : kRows) SetBackColor(PictureControl(row.markBox), kPageBackColor);
  for (const StatusRow& row : kRows) {
    LabelControl(row.captionLabel)->setText(Text(row.caption));
    // A screen reader names each mark by its row and speaks the mark itself
    // as the description.
    PictureControl(row.markBox)->setAccessibleName(Text(row.caption));
  }
  heading->setText(Text(TextId::RunningStatus));
  previous_->setText(Text(TextId::Previous));
  exit_->setText(Text(TextId::Exit));
  DressVersionLabel();
  previous_->setEnabled(false);
  exit_->setEnabled(false);
  run_.Start();
}

void SetupRunPage::SetStatus(const std::string& text) {
  status_->setText(QString::fromStdString(text));
}

void SetupRunPage::SetMark(Row row, Mark mark) {
  PictureBox* box = PictureControl(kRows[static_cast<int>(row)].markBox);
  const MarkLook look = LookOf(mark);
  box->SetProgramPicture(look.picture);
  box->setAccessibleDescription(look.words ? Text(*look.words) : QString());
}

void SetupRunPage::EnableLeaving() {
  previous_->setEnabled(true);
  exit_->setEnabled(true);
}

void SetupRunPage::SetBusy(bool busy) {
  if (busy)
    busy_.emplace();
  else
    busy_.reset();
}

// Each call below lets events run while the run's code waits further up the
// stack; the page is held so that leaving it meanwhile only stops the run and
// destroys the page once the run has returned.

Answer SetupRunPage::ShowMessage(const Message& message) {
  const Hold hold(this);
  return ShowMessageBox(message);
}

void SetupRunPage::LetEventsRun() {
  const Hold hold(this);
  orvane::LetEventsRun();
}

std::optional<std::size_t> SetupRunPage::ChooseDevice(std::span<const DeviceRow> rows) {
  const Hold hold(this);
  return DeviceListPage::Choose(flow_, rows);
}

std::optional<Credentials> SetupRunPage::AskCredentials() {
  const Hold hold(this);
  return LoginPage::Ask(flow_);
}

void SetupRunPage::ReturnToScanStart() {
  flow_.GoTo(PageId::ScanStart, this);
}

void SetupRunPage::EndProgram() {
  Unload();
  orvane::EndProgram();
}

}  // namespace orvane

// orvane-screenshots: opens every window of the wizard as a user would see it
// and saves each one's client area as a PNG, for the README and for checking
// the look at other scale factors (QT_SCALE_FACTOR=1.5 or 2).
//
//   orvane-screenshots OUTDIR [--suffix -200] [--all-chinese]
//
// Nothing here reaches the network: the pages run on the tests' fake world,
// whose clock never moves, so Step 4's scan never starts; the tool fails if
// any page tried to send or to show a message box.

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <cstdio>
#include <vector>

#include "tests/support/test_toolkit.h"
#include "tests/support/test_wizard.h"
#include "ui/form_window.h"
#include "ui/resources.h"
#include "wizard/device_list_page.h"
#include "wizard/login_page.h"
#include "wizard/page_flow.h"

namespace orvane::screenshots {
namespace {

struct Options {
  QString outDir;
  QString suffix;
  bool allChinese = false;
};

// Three devices: two that answer a ping and one on a foreign subnet that does not.
DeviceTable ThreeDevices() {
  DeviceTable d{};
  d[0] = {"00:11:22:33:44:55", "192.168.1.20", "255.255.255.0", "192.168.1.1",
          "ORVANE-A",          "WORKGROUP",    "ORVANE-A",      "ST380011A",
          156301488,           76896036,       41000000};
  d[1] = {"00:11:22:33:44:66",
          "192.168.1.21",
          "255.255.255.0",
          "192.168.1.1",
          "ORVANE-B",
          "WORKGROUP",
          "ORVANE-B",
          "No HD Installed!",
          0,
          0,
          0};
  d[2] = {"00:11:22:33:44:77",
          "10.20.30.40",
          "255.255.255.0",
          "10.20.30.1",
          "FILER2",
          "OFFICE",
          "FILER2",
          "Maxtor 6Y120P0",
          240121728,
          118000000,
          59000000};
  return d;
}

class Shooter {
 public:
  explicit Shooter(Options options) : options_(std::move(options)) {}

  // Shows the window, lets it paint, saves it and unloads it.
  void Shoot(FormWindow* window, const QString& name) {
    window->ShowModeless();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    const QPixmap shot = window->grab();
    const QString path = QDir(options_.outDir).filePath(name + options_.suffix + ".png");
    const QSize expected = window->size() * shot.devicePixelRatio();
    if (shot.size() != expected || !shot.save(path)) {
      std::fprintf(stderr, "could not save %s\n", qPrintable(path));
      failed_ = true;
    } else {
      std::printf("%s %dx%d\n", qPrintable(path), shot.width(), shot.height());
    }
    window->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  bool Failed() const { return failed_; }

 private:
  Options options_;
  bool failed_ = false;
};

// Step 0's load makes the texts English; the Chinese picture asks for the
// same texts again in Chinese, as the load would in that language.
void RedressStep0(FormWindow* page) {
  const Language zh = Language::TraditionalChinese;
  static_cast<QPlainTextEdit*>(page->ControlByName("txt1"))
      ->setPlainText(Text(TextId::WelcomeInstruction, zh));
  page->ButtonControl("cmdNext")->setText(Text(TextId::Next, zh));
  page->ButtonControl("cmdExit")->setText(Text(TextId::Exit, zh));
  page->LabelControl("lblVersion")->setText(Text(TextId::Version, zh));
}

// Step 4 with the marks and the status line of a moment in a run.
void ShootStep4(Shooter& shoot, PageFlow& flow, const QString& name, Picture configurationMark,
                TextId status, bool leavingEnabled) {
  FormWindow* step4 = flow.Create(PageId::SetupRun);
  step4->PictureControl("pic1")->SetProgramPicture(Picture::MarkDone);
  step4->PictureControl("pic2")->SetProgramPicture(Picture::MarkDone);
  step4->PictureControl("pic3")->SetProgramPicture(configurationMark);
  step4->LabelControl("lblRun")->setText(Text(status, flow.language()));
  step4->ButtonControl("cmdPrevious")->setEnabled(leavingEnabled);
  step4->ButtonControl("cmdExit")->setEnabled(leavingEnabled);
  shoot.Shoot(step4, name);
}

void ShootAll(Shooter& shoot, PageFlow& flow, const Options& options) {
  const Language language = options.allChinese ? Language::TraditionalChinese : Language::English;
  const QString lang = options.allChinese ? QStringLiteral("-zh") : QString();

  FormWindow* step0 = flow.Create(PageId::Welcome);
  if (options.allChinese) RedressStep0(step0);
  shoot.Shoot(step0, "step0" + lang);
  if (!options.allChinese) {
    FormWindow* step0zh = flow.Create(PageId::Welcome);
    RedressStep0(step0zh);
    shoot.Shoot(step0zh, "step0-zh");
  }

  flow.SetLanguage(language);
  shoot.Shoot(flow.Create(PageId::PowerOn), "step1" + lang);
  shoot.Shoot(flow.Create(PageId::Cabling), "step2" + lang);
  shoot.Shoot(flow.Create(PageId::ScanStart), "step3" + lang);
  // In the middle of a run: scan and ping done, the new settings on their way.
  ShootStep4(shoot, flow, "step4" + lang, Picture::MarkInProgress, TextId::ConfigurationStarted,
             false);
  // After the device refused the credentials: Previous and Exit enabled.
  ShootStep4(shoot, flow, "step4-failed" + lang, Picture::MarkFailed, TextId::ConfigurationFailed,
             true);

  const DeviceTable devices = ThreeDevices();
  const std::vector<DeviceRow> rows = {
      {&devices[0], true}, {&devices[1], true}, {&devices[2], false}};
  const auto shootList = [&](Language listLanguage, const QString& name) {
    flow.SetLanguage(listLanguage);
    auto* list = new DeviceListPage(flow, rows);
    list->Load();
    shoot.Shoot(list, name);
  };
  shootList(language, "select" + lang);
  if (!options.allChinese) shootList(Language::TraditionalChinese, "select-zh");

  flow.SetLanguage(language);
  auto* login = new LoginPage(flow);
  login->Load();
  shoot.Shoot(login, "login" + lang);
}

}  // namespace
}  // namespace orvane::screenshots

int main(int argc, char* argv[]) {
  using namespace orvane::screenshots;
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  Options options;
  const QStringList args = QApplication::arguments().mid(1);
  bool usable = true;
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args[i] == "--suffix" && i + 1 < args.size())
      options.suffix = args[++i];
    else if (args[i] == "--all-chinese")
      options.allChinese = true;
    else if (options.outDir.isEmpty() && !args[i].startsWith("--"))
      options.outDir = args[i];
    else
      usable = false;
  }
  if (!usable || options.outDir.isEmpty()) {
    std::fprintf(stderr, "usage: orvane-screenshots OUTDIR [--suffix TEXT] [--all-chinese]\n");
    return 2;
  }
  QDir().mkpath(options.outDir);

  // Before any page exists: no page of the tool can reach the real network,
  // and a message box is recorded, never shown.
  orvane::SetToolkit(&orvane::testing::Tk());
  orvane::testing::TestWizard wizard;
  Shooter shoot(options);
  ShootAll(shoot, wizard.flow, options);

  for (const auto& box : orvane::testing::Tk().Shown())
    std::fprintf(stderr, "unexpected message box \"%s\": %s\n", qPrintable(box.title),
                 qPrintable(box.text));
  if (!wizard.world.sender.sent.empty() || !orvane::testing::Tk().Shown().empty()) {
    std::fprintf(stderr, "a page tried to send (%zu) or showed a message box (%zu)\n",
                 wizard.world.sender.sent.size(), orvane::testing::Tk().Shown().size());
    return 1;
  }
  return shoot.Failed() ? 1 : 0;
}

// orvane-screenshots: opens every window of the wizard as a user would see it
// and saves each one's client area as a PNG, for the README and for checking
// the look at other scale factors (QT_SCALE_FACTOR=1.5 or 2).
//
//   orvane-screenshots OUTDIR [--suffix -200] [--all-chinese]
//
// Nothing here reaches the network: inert services are installed before the
// first page is created, Step 4's timers are stopped before they can tick, and
// the tool fails if any page tried to send or to show a message box.

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <cstdio>
#include <functional>

#include "device/pages/frm_config_simple.h"
#include "device/pages/frm_main2.h"
#include "device/pages/frm_select.h"
#include "shell/core/wizard_state.h"
#include "shell/navigation.h"
#include "shell/page.h"
#include "shell/resources.h"
#include "tools/screenshots/inert_services.h"

namespace orvane::screenshots {
namespace {

struct Options {
  QString outDir;
  QString suffix;
  bool allChinese = false;
};

// Three devices: two that answer a ping and one on a foreign subnet that does not.
void FillThreeDevices(InertProber& prober) {
  WizardState& s = State();
  s.Devices = DeviceTable{};
  s.Devices[0] = {"00:11:22:33:44:55", "192.168.1.20", "255.255.255.0", "192.168.1.1",
                  "ORVANE-A",          "WORKGROUP",    "ORVANE-A",      "ST380011A",
                  156301488,           76896036,       41000000};
  s.Devices[1] = {"00:11:22:33:44:66",
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
  s.Devices[2] = {"00:11:22:33:44:77",
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
  s.LastDevice = 2;
  prober.answers = {{"192.168.1.20", ProbeAnswer::Answered},
                    {"192.168.1.21", ProbeAnswer::Answered}};
}

class Shooter {
 public:
  explicit Shooter(Options options) : options_(std::move(options)) {}

  // Shows the page, lets it paint, saves it and unloads it.
  void Shoot(Page* page, const QString& name) {
    page->ShowPage();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    const QPixmap shot = page->grab();
    const QString path = QDir(options_.outDir).filePath(name + options_.suffix + ".png");
    const QSize expected = page->size() * shot.devicePixelRatio();
    if (shot.size() != expected || !shot.save(path)) {
      std::fprintf(stderr, "could not save %s\n", qPrintable(path));
      failed_ = true;
    } else {
      std::printf("%s %dx%d\n", qPrintable(path), shot.width(), shot.height());
    }
    page->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  bool Failed() const { return failed_; }

 private:
  Options options_;
  bool failed_ = false;
};

// Step 0's load sets the English base; the Chinese picture asks for the same
// texts again once the base is 500, as the load would with that base.
void RedressStep0(Page* page) {
  State().TextBase = 500;
  static_cast<QPlainTextEdit*>(page->ControlByName("txt1"))->setPlainText(Text(4));
  page->ButtonControl("cmdNext")->setText(Text(1));
  page->ButtonControl("cmdExit")->setText(Text(3));
  page->LabelControl("lblVersion")->setText(Text(58));
}

frmMain2* OpenStep4() {
  auto* page = static_cast<frmMain2*>(CreatePage(PageId::Main2));
  // Only the look is wanted: the scan never starts.
  page->Timer1.stop();
  page->Timer2.stop();
  page->Timer3.stop();
  return page;
}

void ShootAll(Shooter& shoot, InertWorld& world, const Options& options) {
  const std::int16_t base = options.allChinese ? 500 : 700;
  const QString lang = options.allChinese ? QStringLiteral("-zh") : QString();

  Page* step0 = CreatePage(PageId::Pre1);
  if (options.allChinese) RedressStep0(step0);
  shoot.Shoot(step0, "step0" + lang);
  if (!options.allChinese) {
    Page* step0zh = CreatePage(PageId::Pre1);
    RedressStep0(step0zh);
    shoot.Shoot(step0zh, "step0-zh");
  }

  State().TextBase = base;
  shoot.Shoot(CreatePage(PageId::Pre2), "step1" + lang);
  shoot.Shoot(CreatePage(PageId::Main), "step2" + lang);
  shoot.Shoot(CreatePage(PageId::Main0), "step3" + lang);

  // Step 4 in the middle of a run: scan and ping done, the new settings on
  // their way to the device.
  frmMain2* step4 = OpenStep4();
  step4->PictureControl("pic1")->SetPictureNumber(105);
  step4->PictureControl("pic2")->SetPictureNumber(105);
  step4->PictureControl("pic3")->SetPictureNumber(104);
  step4->LabelControl("lblRun")->setText(Text(42));
  shoot.Shoot(step4, "step4" + lang);

  // Step 4 after the device refused the credentials: Previous and Exit enabled.
  frmMain2* failed = OpenStep4();
  failed->PictureControl("pic1")->SetPictureNumber(105);
  failed->PictureControl("pic2")->SetPictureNumber(105);
  failed->PictureControl("pic3")->SetPictureNumber(106);
  failed->LabelControl("lblRun")->setText(Text(47));
  failed->ButtonControl("cmdPrevious")->setEnabled(true);
  failed->ButtonControl("cmdExit")->setEnabled(true);
  shoot.Shoot(failed, "step4-failed" + lang);

  const auto shootSelect = [&](std::int16_t textBase, const QString& name) {
    State().TextBase = textBase;
    FillThreeDevices(world.prober);
    auto* select = new frmSelect;
    select->LoadPage();
    shoot.Shoot(select, name);
  };
  shootSelect(base, "select" + lang);
  if (!options.allChinese) shootSelect(500, "select-zh");

  State().TextBase = base;
  auto* login = new frmConfigSimple;
  login->LoadPage();
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

  // Before any page exists: from here on no page can reach the real network.
  InertWorld world;
  Shooter shoot(options);
  ShootAll(shoot, world, options);

  if (world.sender.attempts != 0 || world.toolkit.boxes != 0) {
    std::fprintf(stderr, "a page tried to send (%d) or showed a message box (%d)\n",
                 world.sender.attempts, world.toolkit.boxes);
    return 1;
  }
  return shoot.Failed() ? 1 : 0;
}

#include "tests/lab/wizard_lab_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/support/shell_link_reader.h"
#include "tests/support/test_toolkit.h"
#include "ui/toolkit.h"

namespace orvane::lab {

namespace {
QString Home() {
  return QString::fromLocal8Bit(qgetenv("HOME"));
}
}  // namespace

void WizardLab::SetUp() {
  testing::ResetWindows();
  QDir desktop(Home() + "/Desktop");
  for (const QString& f : desktop.entryList(QDir::Files)) desktop.remove(f);
  QFile::remove(Home() + "/opened.txt");
}

void WizardLab::TearDown() {
  testing::ResetWindows();
}

SetupRunPage* WizardLab::StartStep4() {
  return static_cast<SetupRunPage*>(flow.GoTo(PageId::SetupRun));
}

double WizardLab::RunUntilEnded(int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  const QPointer<SetupRunPage> page = StartStep4();
  EXPECT_TRUE(testing::WaitFor([] { return ProgramEnded(); }, timeoutMs))
      << "the run did not end; its status line reads \""
      << (page && !page->IsUnloaded() ? page->LabelControl("lblRun")->text().toStdString()
                                      : std::string("(page gone)"))
      << "\"";
  return clock.elapsed() / 1000.0;
}

QStringList WizardLab::BoxTexts() {
  QStringList texts;
  for (const auto& b : testing::Tk().Shown()) texts << b.text;
  return texts;
}

QStringList WizardLab::Opened() {
  QFile file(Home() + "/opened.txt");
  // The openers run detached and may start late on a loaded machine: wait
  // for both lines ("pid argument\n" each), then a moment for any third.
  const auto lineCount = [&] {
    QFile f(file.fileName());
    return f.open(QIODevice::ReadOnly) ? f.readAll().count('\n') : 0;
  };
  testing::WaitFor([&] { return lineCount() >= 2; }, 5000);
  testing::WaitFor([] { return false; }, 200);
  if (!file.open(QIODevice::ReadOnly)) return {};
  // "pid argument" lines, put in the order the openers were started.
  QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  std::sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
    return a.section(' ', 0, 0).toLongLong() < b.section(' ', 0, 0).toLongLong();
  });
  for (QString& line : lines) line = line.section(' ', 1);
  return lines;
}

void WizardLab::ExpectShortcuts(const std::string& host, const std::string& address) {
  const struct {
    const char* prefix;
    std::string target;
  } files[] = {{"Setup My Orvane - ", "http://" + address},
               {"Access My Orvane - ", "\\\\" + address}};
  for (const auto& f : files) {
    const std::string path = Home().toStdString() + "/Desktop/" + f.prefix + host + ".lnk";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const auto link = ReadShellLink(bytes);
    ASSERT_TRUE(link) << path;
    EXPECT_EQ(link->target, f.target) << path;
  }
}

}  // namespace orvane::lab

#include "tools/screenshots/inert_services.h"

#include <QCoreApplication>
#include <cstdio>
#include <memory>

namespace orvane::screenshots {

namespace {

class InertReceiver : public ReplyReceiver {
 public:
  bool Open(QString*) override {
    open_ = true;
    return true;
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

ProbeAnswer InertProber::Probe(const std::string& address) {
  const auto it = answers.find(address);
  return it == answers.end() ? ProbeAnswer::NoAnswer : it->second;
}

SendOutcome InertSender::Send(const std::string&) {
  ++attempts;
  return {SendOutcome::Stage::Sent, 0};
}

Answer QuietToolkit::MsgBox(const QString& text, Buttons, Icon, const QString& title) {
  ++boxes;
  std::fprintf(stderr, "unexpected message box \"%s\": %s\n", qPrintable(title), qPrintable(text));
  return Answer::Cancel;
}

void QuietToolkit::Yield() {
  QCoreApplication::processEvents();
}

InertWorld::InertWorld() {
  services_.prober = &prober;
  services_.sender = &sender;
  services_.settings = &settings;
  services_.desktop = &desktop;
  services_.makeReceiver = [] { return std::make_unique<InertReceiver>(); };
  previous_ = SetServices(&services_);
  SetToolkit(&toolkit);
}

InertWorld::~InertWorld() {
  SetToolkit(nullptr);
  SetServices(previous_);
}

}  // namespace orvane::screenshots

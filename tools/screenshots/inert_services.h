#pragma once
// Services for the screenshot tool that never touch the network or the
// desktop: the sender sends nothing, the receiver hears nothing, the prober
// answers from a table. They are installed before the first page exists, so
// no page of the tool can reach the real ones.

#include <map>
#include <string>

#include "device/pages/services.h"
#include "shell/toolkit.h"

namespace orvane::screenshots {

class InertProber : public Prober {
 public:
  ProbeAnswer Probe(const std::string& address) override;
  std::map<std::string, ProbeAnswer> answers;  // NoAnswer for any other address
};

class InertSender : public Sender {
 public:
  SendOutcome Send(const std::string& bytes) override;
  int attempts = 0;  // how often a page tried to send: must stay 0
};

class InertSettings : public SettingsSource {
 public:
  LocalSettings Read() override { return {"192.168.1.10", "255.255.255.0", "192.168.1.1"}; }
};

class InertDesktop : public Desktop {
 public:
  QString CreateShortcuts(const std::string&, const std::string&) override { return {}; }
  QString OpenShortcutTargets(const std::string&) override { return {}; }
};

// Message boxes would block the tool; none is expected, so each is reported
// and answered Cancel, which leaves every page as it was.
class QuietToolkit : public Toolkit {
 public:
  Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
  void Yield() override;
  void End() override { ended_ = true; }
  bool Ended() const override { return ended_; }
  int boxes = 0;

 private:
  bool ended_ = false;
};

// All of the above, installed for the lifetime of the object.
class InertWorld {
 public:
  InertWorld();
  ~InertWorld();
  InertWorld(const InertWorld&) = delete;
  InertWorld& operator=(const InertWorld&) = delete;

  InertProber prober;
  InertSender sender;
  InertSettings settings;
  InertDesktop desktop;
  QuietToolkit toolkit;

 private:
  Services services_;
  Services* previous_ = nullptr;
};

}  // namespace orvane::screenshots

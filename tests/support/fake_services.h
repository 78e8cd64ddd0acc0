#pragma once
// Fakes at the network and desktop seams, so a GUI test can script a whole run
// (replies, probe answers, shortcut failures) in milliseconds.

#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "device/pages/services.h"

namespace orvane::testing {

class FakeProber : public Prober {
 public:
  ProbeAnswer Probe(const std::string& address) override;
  std::map<std::string, ProbeAnswer> answers;  // by address
  ProbeAnswer otherwise = ProbeAnswer::NoAnswer;
  std::vector<std::string> probed;
};

class FakeReceiver : public ReplyReceiver {
 public:
  explicit FakeReceiver(bool* portTaken) : portTaken_(portTaken) {}
  ~FakeReceiver() override;
  bool Open(QString* error) override;
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  // A datagram reaches the receiver; it is delivered only while open, as an
  // event on the UI thread.
  void Arrive(const std::string& datagram);

 private:
  bool* portTaken_;
  bool open_ = false;
};

class FakeSender : public Sender {
 public:
  SendOutcome Send(const std::string& bytes) override;
  std::vector<std::string> sent;
  // Failures for the next sends, in order.
  std::vector<SendOutcome> failures;
  // Called for every send (the "devices" answering).
  std::function<void(const std::string&)> onSend;
};

class FakeSettings : public SettingsSource {
 public:
  LocalSettings Read() override { return local; }
  LocalSettings local = {"192.168.1.10", "255.255.255.0", "192.168.1.1"};
};

class FakeDesktop : public Desktop {
 public:
  QString CreateShortcuts(const std::string& address, const std::string& hostName) override;
  QString OpenShortcutTargets(const std::string& address) override;
  std::vector<std::pair<std::string, std::string>> created;  // address, host name
  std::vector<std::string> opened;
  QString createError;
  QString openError;
};

// All the fakes, installed for the lifetime of the object.
class FakeWorld {
 public:
  FakeWorld();
  ~FakeWorld();
  FakeWorld(const FakeWorld&) = delete;
  FakeWorld& operator=(const FakeWorld&) = delete;

  FakeReceiver* Receiver() const { return receiver_; }  // the newest one
  // Delivers a datagram to the newest receiver (only if open).
  void Arrive(const std::string& datagram);

  FakeProber prober;
  FakeSender sender;
  FakeSettings settings;
  FakeDesktop desktop;
  bool portTaken = false;
  int receiversMade = 0;

 private:
  Services services_;
  Services* previous_ = nullptr;
  FakeWorld* previousWorld_ = nullptr;
  FakeReceiver* receiver_ = nullptr;
  friend class FakeReceiver;
};

}  // namespace orvane::testing

#include "cli/cli_front_end.h"

#include <algorithm>
#include <ostream>

#include "cli/device_output.h"
#include "cli/terminal_text.h"
#include "resources/text_table.h"

namespace orvane {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// Message boxes separate their lines with CR LF; a terminal wants LF.
std::string Lines(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

std::string Describe(const DeviceRecord& device) {
  return TerminalText(device.HostName) + " (" + TerminalText(device.DeviceId) + ")";
}

}  // namespace

std::vector<std::size_t> MatchingRows(std::span<const DeviceRow> rows, std::string_view wanted) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const DeviceRecord& d = *rows[i].device;
    if (SameIgnoringCase(d.DeviceId, wanted) || SameIgnoringCase(d.HostName, wanted) ||
        d.IpAddress == wanted)
      found.push_back(i);
  }
  return found;
}

CliFrontEnd::CliFrontEnd(const Invocation& invocation, std::function<void()> yield,
                         Terminal& terminal, std::optional<Secret> password, std::ostream& err)
    : invocation_(invocation),
      yield_(std::move(yield)),
      terminal_(terminal),
      password_(std::move(password)),
      err_(err) {}

CliFrontEnd::~CliFrontEnd() = default;

void CliFrontEnd::SetStatus(const std::string& text) {
  err_ << TerminalText(text) << '\n' << std::flush;
}

Answer CliFrontEnd::ShowMessage(const Message& message) {
  // The one question of a run is whether to open the shortcuts' targets; the
  // command line answers it with --open and never stops to ask.
  if (message.buttons == Buttons::OkCancel) return invocation_.open ? Answer::Ok : Answer::Cancel;
  err_ << TerminalLines(Lines(message.text)) << '\n';
  // What was checked, behind the no-device message; `check` prints it as
  // its result instead.
  if (!message.details.empty() && invocation_.command != Command::Check)
    err_ << TerminalLines(Lines(message.details)) << '\n';
  err_ << std::flush;
  return Answer::Ok;
}

void CliFrontEnd::LetEventsRun() {
  yield_();
}

std::optional<std::size_t> CliFrontEnd::Decide(ExitCode code, const std::string& error) {
  decision_ = code;
  err_ << "orvane: " << error << '\n' << std::flush;
  return std::nullopt;
}

std::optional<std::size_t> CliFrontEnd::ChooseDevice(std::span<const DeviceRow> rows) {
  const std::vector<std::size_t> found = MatchingRows(rows, invocation_.device);
  if (found.empty()) {
    return Decide(ExitCode::NothingFound, "no device matches '" + TerminalText(invocation_.device) +
                                              "' among the " + std::to_string(rows.size()) +
                                              " found");
  }
  // A device that answered twice is one device; two identities are two.
  const DeviceRecord& first = *rows[found[0]].device;
  for (std::size_t i : found) {
    if (rows[i].device->DeviceId == first.DeviceId) continue;
    std::string names;
    for (std::size_t j : found) names += "\n  " + Describe(*rows[j].device);
    return Decide(ExitCode::Usage,
                  "'" + TerminalText(invocation_.device) +
                      "' matches more than one device; give its identity:" + names);
  }
  const DeviceRow& row = rows[found[0]];
  if (invocation_.command == Command::Shortcuts && !row.reachable) {
    return Decide(ExitCode::DeviceFailure,
                  Describe(first) + " does not answer at " + TerminalText(first.IpAddress) +
                      ": give it an address with 'orvane configure' first");
  }
  chosen_ = first;
  return found[0];
}

std::optional<std::string> CliFrontEnd::Ask(const std::string& prompt) {
  err_ << prompt << std::flush;
  return terminal_.ReadLine();
}

bool CliFrontEnd::Confirmed() {
  if (invocation_.yes) return true;
  const LocalSettings& pc = run_->Settings();
  const std::optional<std::string> answer =
      Ask("Give " + Describe(*chosen_) + ", now at " + TerminalText(chosen_->IpAddress) +
          ", the address " + run_->NewAddress() + " with mask " + pc.LocalNetmask +
          " and gateway " + pc.LocalGateway + "? [y/N] ");
  return answer && (SameIgnoringCase(*answer, "y") || SameIgnoringCase(*answer, "yes"));
}

std::optional<Credentials> CliFrontEnd::AskCredentials() {
  // The search draws in the network of the adapter that reached the device;
  // an address asked for must lie there, or another one would be sent.
  if (invocation_.address && run_->NewAddress() != *invocation_.address) {
    Decide(ExitCode::Usage, "--address " + *invocation_.address +
                                " is not in the network of this PC's adapter that reached " +
                                Describe(*chosen_) + " (" + run_->Settings().LocalAddress +
                                "): nothing was sent");
    return std::nullopt;
  }
  if (!Confirmed()) {
    Decide(ExitCode::Usage, "not confirmed: nothing was sent");
    return std::nullopt;
  }
  Credentials credentials;
  if (invocation_.user) {
    credentials.userName = *invocation_.user;
  } else {
    credentials.userName =
        Ask(LoadText(TextId::UserNameLabel, Language::English) + " ").value_or("");
  }
  if (!password_) {
    err_ << LoadText(TextId::PasswordLabel, Language::English) << ' ' << std::flush;
    password_ = terminal_.ReadSecret(true);
  }
  // Handed on, not copied: the engine wipes it once the request is composed,
  // and a password that is not sent goes with the credentials.
  if (password_) credentials.password = std::move(*password_);
  password_.reset();
  if (credentials.userName.empty() || credentials.password.Empty()) {
    Decide(ExitCode::Usage, LoadText(TextId::CredentialsMissing, Language::English));
    return std::nullopt;
  }
  return credentials;
}

void CliFrontEnd::Leave() {
  // As the window program's page does when it goes: its run stops at once.
  if (run_) run_->Stop();
}

}  // namespace orvane

#include "cli/program.h"

#include <ostream>

#include "cli/cli_front_end.h"
#include "cli/device_output.h"
#include "cli/poll_loop.h"
#include "cli/terminal_text.h"
#include "desktop/core_files.h"
#include "device/address_search.h"
#include "device/host_services.h"
#include "device/scan.h"
#include "device/scan_report.h"
#include "hostnet/ipv4_text.h"

namespace orvane {

namespace {

// The services of this PC, each watched for the trouble that decides the
// exit code.
class WatchedSender final : public Sender {
 public:
  explicit WatchedSender(LocalTrouble& trouble) : trouble_(trouble) {}
  SendOutcome Send(std::string_view bytes) override { return Watch(host_.Send(bytes)); }
  SendOutcome SendVia(std::string_view bytes, const Adapter& adapter) override {
    return Watch(host_.SendVia(bytes, adapter));
  }

 private:
  SendOutcome Watch(SendOutcome outcome) {
    // The last send decides: the configuration request goes out on one
    // adapter, after a discovery request that may have failed on another.
    trouble_.sendFailed = outcome.stage != SendOutcome::Stage::Sent;
    return outcome;
  }
  HostSender host_;
  LocalTrouble& trouble_;
};

class WatchedProber final : public Prober {
 public:
  explicit WatchedProber(LocalTrouble& trouble) : trouble_(trouble) {}
  ProbeResult Probe(const std::string& address) override {
    const ProbeResult result = host_.Probe(address);
    if (result == ProbeResult::CouldNotProbe) trouble_.couldNotProbe = true;
    return result;
  }
  std::vector<ProbeResult> ProbeAll(std::span<const std::string> addresses) override {
    std::vector<ProbeResult> results = host_.ProbeAll(addresses);
    for (ProbeResult result : results)
      if (result == ProbeResult::CouldNotProbe) trouble_.couldNotProbe = true;
    return results;
  }
  std::string CouldNotProbeReason() const override { return host_.CouldNotProbeReason(); }
  Neighbour AskNeighbour(const std::string& address, bool resolve) override {
    return host_.AskNeighbour(address, resolve);
  }
  Neighbour LookNeighbour(const std::string& address) override {
    return host_.LookNeighbour(address);
  }

 private:
  HostProber host_;
  LocalTrouble& trouble_;
};

// `configure` gives a device its address; the shortcuts are an extra, so a
// PC with no desktop folder at all (a server, a login over SSH) makes none
// and says so, and the exit code stays the device's. `shortcuts` exists for
// them, and a desktop that is there but cannot be written fails both.
class WatchedDesktop final : public Desktop {
 public:
  WatchedDesktop(LocalTrouble& trouble, const Invocation& invocation)
      : trouble_(trouble), invocation_(invocation) {}
  DesktopResult CreateShortcuts(const std::string& address, const std::string& hostName,
                                const PcCodePage& pc) override {
    if (invocation_.noShortcuts) {
      DesktopResult none{false, "No shortcuts were made, as --no-shortcuts asked."};
      none.skipped = true;
      return none;
    }
    DesktopResult made = host_.CreateShortcuts(address, hostName, pc);
    if (made.noDesktop && invocation_.command == Command::Configure) return made;
    return Watch(std::move(made));
  }
  DesktopResult OpenShortcutTargets(const std::string& address) override {
    return Watch(host_.OpenShortcutTargets(address));
  }

 private:
  DesktopResult Watch(DesktopResult result) {
    if (!result.ok) trouble_.shortcutsFailed = true;
    return result;
  }
  HostDesktop host_;
  LocalTrouble& trouble_;
  const Invocation& invocation_;
};

std::uint8_t LastPart(const std::string& address) {
  return std::uint8_t(ParseDottedQuad(address).value_or(1) & 0xFF);
}

int Usage(std::ostream& err, const std::string& error) {
  err << "orvane: " << error << "\nTry 'orvane --help'.\n";
  return int(ExitCode::Usage);
}

}  // namespace

ExitCode ExitCodeFor(RunOutcome outcome, const LocalTrouble& trouble,
                     std::optional<ExitCode> decision) {
  switch (outcome) {
    case RunOutcome::NoDevice:
      return trouble.portRefused || trouble.scanNotSent ? ExitCode::LocalNetwork
                                                        : ExitCode::NothingFound;
    case RunOutcome::NoChoice:
    case RunOutcome::Cancelled:
      return decision.value_or(ExitCode::Usage);
    case RunOutcome::PcNotConfigured:
    case RunOutcome::NoFreeAddress:
      return ExitCode::LocalNetwork;
    case RunOutcome::AlreadyReachable:
    case RunOutcome::Configured:
      return trouble.shortcutsFailed ? ExitCode::DeviceFailure : ExitCode::Done;
    case RunOutcome::Refused:
      return ExitCode::DeviceFailure;
    case RunOutcome::NoReply:
      // A request that never left cannot be answered: this PC's fault.
      return trouble.sendFailed ? ExitCode::LocalNetwork : ExitCode::TimedOut;
    case RunOutcome::Running:
      break;
  }
  return ExitCode::DeviceFailure;
}

namespace {

void NoteScanTrouble(const ScanReport& report, const PollLoop& loop, LocalTrouble& trouble) {
  trouble.portRefused = loop.PortRefused();
  for (ScanCause cause : LikelyCauses(report))
    if (cause == ScanCause::NoAdapter || cause == ScanCause::NotSent) trouble.scanNotSent = true;
}

// The adapter a reply came in on, by name, with this PC's address there.
HeardOn HeardOnOf(const Arrival& arrival, const ScanReport& report) {
  HeardOn heard{"", arrival.localAddress};
  for (const ScanReport::AdapterCheck& check : report.adapters)
    if (arrival.interfaceIndex != 0 && check.adapter.index == arrival.interfaceIndex)
      heard.adapter = check.adapter.name;
  return heard;
}

// `list` and `check`: a scan and no more. `check` prints what the scan
// checked; `list` checks which devices answer and prints them.
ExitCode ScanAlone(const Invocation& invocation, const Services& services, CliFrontEnd& frontEnd,
                   PollLoop& loop, LocalTrouble& trouble, std::ostream& out) {
  const auto text = [](TextId id) { return LoadText(id, Language::English); };
  frontEnd.SetStatus(text(TextId::Scanning));
  Scan scan(services, frontEnd, Language::English, invocation.wait);
  bool ended = false;
  scan.Start([&ended] { ended = true; });
  while (!ended && !scan.Stopped()) loop.RunOnce(std::chrono::seconds(1));
  frontEnd.SetStatus(text(TextId::ScanComplete));
  const ScanReport& report = scan.Report();
  NoteScanTrouble(report, loop, trouble);
  if (invocation.command == Command::Check)
    out << (invocation.json ? ScanReportJson(report) : ScanReportText(report));
  if (scan.LastDevice() < 0) {
    if (invocation.command == Command::List && invocation.json) out << "[]\n";
    frontEnd.SetStatus(text(TextId::NoDeviceFound));
    frontEnd.ShowMessage({text(TextId::NoDeviceFoundMessage), std::string(kAppTitle), Buttons::Ok,
                          Icon::None, DescribeScanReport(report, Language::English)});
    return ExitCodeFor(RunOutcome::NoDevice, trouble, {});
  }
  if (invocation.command == Command::Check) return ExitCode::Done;

  const std::span<const DeviceRecord> found(scan.Devices().data(),
                                            static_cast<std::size_t>(scan.LastDevice() + 1));
  const DeviceChecks checks = CheckDevices(services.prober, found, scan.SendAdapters());
  if (checks.couldNotProbe)
    frontEnd.ShowMessage(
        {CouldNotProbeText(services.prober.CouldNotProbeReason(), Language::English)});
  std::vector<DeviceRow> rows;
  std::vector<HeardOn> heardOn;
  for (std::size_t i = 0; i < found.size(); ++i) {
    rows.push_back({&found[i], checks.reachable[i]});
    heardOn.push_back(HeardOnOf(scan.ArrivalOf(i), report));
  }
  out << (invocation.json ? DeviceListJson(rows, heardOn) : DeviceTableText(rows)) << std::flush;
  return ExitCode::Done;
}

// The command the arguments name, to its exit code.
int RunCommand(const std::vector<std::string>& args, Terminal& terminal, std::ostream& out,
               std::ostream& err) {
  const ParsedArguments parsed = ParseArguments(args);
  if (!parsed.invocation) return Usage(err, parsed.error);
  const Invocation& invocation = *parsed.invocation;
  if (invocation.command == Command::Help) {
    out << HelpText();
    return int(ExitCode::Done);
  }

  // A Secret wipes itself on every way out.
  std::optional<Secret> password;
  if (invocation.command == Command::Configure) {
    KeepSecretsOutOfCoreFiles();
    // Everything a run may need from its user is settled before it starts,
    // so a script never hangs at a question nor scans for nothing.
    if (invocation.passwordStdin) {
      password = terminal.ReadSecret(false);
      if (!password || password->Empty())
        return Usage(err, "--password-stdin: standard input holds no password");
    }
    if (!terminal.Interactive()) {
      if (!password)
        return Usage(err, "no terminal to ask for the password: give --password-stdin");
      if (!invocation.user) return Usage(err, "no terminal to ask for the user name: give --user");
      if (!invocation.yes) return Usage(err, "no terminal to confirm the change: give --yes");
    }
  }

  LocalTrouble trouble;
  PollLoop loop;
  WatchedSender sender(trouble);
  WatchedProber prober(trouble);
  HostSettings settings;
  WatchedDesktop desktop(trouble, invocation);
  // An address that no device may have is refused before anything is sent,
  // with the reason, rather than after a search that could only fail.
  if (invocation.address) {
    for (const Adapter& adapter : settings.ReadAdapters()) {
      if (!CanSendOn(adapter) || !IsNeverCandidate(*invocation.address, adapter.settings)) continue;
      const LocalSettings& pc = adapter.settings;
      return Usage(err, "--address " + *invocation.address +
                            " is this PC's own address, its gateway, or the network or broadcast "
                            "address of its network on " +
                            adapter.name + " (" + pc.LocalAddress + ", mask " + pc.LocalNetmask +
                            ", gateway " + pc.LocalGateway + "): nothing was sent");
    }
  }
  RandomCandidateSource random;
  // --address A.B.C.D: every draw of the search gives D, so it probes exactly
  // the address asked for and takes it only when it is proven free.
  FixedCandidateSource fixed(invocation.address ? LastPart(*invocation.address) : 1);
  CandidateSource& candidates = invocation.address ? static_cast<CandidateSource&>(fixed) : random;
  const Services services{loop, loop, sender, prober, settings, desktop, candidates};

  CliFrontEnd frontEnd(
      invocation, [&loop] { loop.RunOnce(std::chrono::milliseconds(0)); }, terminal,
      std::move(password), err);
  if (invocation.command == Command::List || invocation.command == Command::Check)
    return int(ScanAlone(invocation, services, frontEnd, loop, trouble, out));

  SetupRun run(services, frontEnd, Language::English, invocation.wait);
  frontEnd.Attach(run);
  run.Start();
  while (run.Outcome() == RunOutcome::Running && !run.Stopped())
    loop.RunOnce(std::chrono::seconds(1));
  run.Stop();
  NoteScanTrouble(run.Report(), loop, trouble);
  const RunOutcome outcome = run.Outcome();
  const ExitCode code = ExitCodeFor(outcome, trouble, frontEnd.Decision());
  if (code == ExitCode::Done && frontEnd.Chosen()) {
    const DeviceRecord& device = *frontEnd.Chosen();
    const std::string address =
        outcome == RunOutcome::Configured ? run.NewAddress() : device.IpAddress;
    out << TerminalText(device.HostName) << " (" << TerminalText(device.DeviceId) << ") is at "
        << TerminalText(address) << '\n';
  }
  return int(code);
}

}  // namespace

int RunProgram(const std::vector<std::string>& args, Terminal& terminal, std::ostream& out,
               std::ostream& err) {
  const int code = RunCommand(args, terminal, out, err);
  // A script takes what it reads for the answer: output that never reached
  // it is no success, even though the work itself was done.
  out.flush();
  if (out || code != int(ExitCode::Done)) return code;
  err << "orvane: standard output could not be written\n";
  return int(ExitCode::OutputFailed);
}

}  // namespace orvane

// Windows Firewall through its own COM interface, INetFwPolicy2. Any call that
// fails (Wine implements few of them) makes its answer nothing, and then
// nothing is said of the firewall.

#include <windows.h>

#include <netfw.h>
#include <oleauto.h>

#include "hostnet/firewall.h"

namespace orvane {
namespace {

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using ComPointer = std::unique_ptr<T, Releaser>;

// Owns a BSTR a property getter handed over; a null one is an empty text.
class Text {
 public:
  Text() = default;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { SysFreeString(bstr_); }
  BSTR* Out() { return &bstr_; }
  std::wstring Wide() const { return bstr_ ? std::wstring(bstr_, SysStringLen(bstr_)) : L""; }

 private:
  BSTR bstr_ = nullptr;
};

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(std::size_t(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), size, nullptr,
                        nullptr);
  return out;
}

// Rules may name their program as "%ProgramFiles%\...".
std::wstring Expanded(const std::wstring& path) {
  if (path.find(L'%') == std::wstring::npos) return path;
  const DWORD size = ExpandEnvironmentStringsW(path.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::wstring out(size, L'\0');
  if (ExpandEnvironmentStringsW(path.c_str(), out.data(), size) != size) return path;
  out.resize(size - 1);
  return out;
}

// The rule as the verdict needs it; nothing when a property cannot be read.
std::optional<FirewallRule> ReadRule(INetFwRule* rule) {
  Text application, service, ports;
  LONG protocolNumber = 0, profiles = 0;
  NET_FW_RULE_DIRECTION direction{};
  NET_FW_ACTION action{};
  VARIANT_BOOL enabled = VARIANT_FALSE;
  if (FAILED(rule->get_ApplicationName(application.Out())) ||
      FAILED(rule->get_ServiceName(service.Out())) || FAILED(rule->get_Protocol(&protocolNumber)) ||
      FAILED(rule->get_LocalPorts(ports.Out())) || FAILED(rule->get_Direction(&direction)) ||
      FAILED(rule->get_Action(&action)) || FAILED(rule->get_Enabled(&enabled)) ||
      FAILED(rule->get_Profiles(&profiles)))
    return std::nullopt;
  FirewallRule out;
  out.application = Utf8(Expanded(application.Wide()));
  out.protocol = int(protocolNumber);
  out.localPorts = Utf8(ports.Wide());
  out.inbound = direction == NET_FW_RULE_DIR_IN;
  out.allow = action == NET_FW_ACTION_ALLOW;
  // A rule for a service holds for that service's process only, never for
  // this program.
  out.enabled = enabled != VARIANT_FALSE && service.Wide().empty();
  out.profiles = std::uint32_t(profiles);
  return out;
}

class ComFirewallRules final : public FirewallRules {
 public:
  ComFirewallRules() {
    // The wizard's thread already has COM (Qt's); the command line's does not.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    uninitialize_ = SUCCEEDED(init);
    INetFwPolicy2* policy = nullptr;
    if (SUCCEEDED(CoCreateInstance(__uuidof(NetFwPolicy2), nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(INetFwPolicy2), reinterpret_cast<void**>(&policy))))
      policy_.reset(policy);
  }
  ComFirewallRules(const ComFirewallRules&) = delete;
  ComFirewallRules& operator=(const ComFirewallRules&) = delete;
  ~ComFirewallRules() override {
    policy_.reset();
    if (uninitialize_) CoUninitialize();
  }

  std::optional<std::uint32_t> CurrentProfiles() override {
    LONG profiles = 0;
    if (!policy_ || FAILED(policy_->get_CurrentProfileTypes(&profiles))) return std::nullopt;
    return std::uint32_t(profiles);
  }

  std::optional<bool> Enabled(FirewallProfile profile) override {
    VARIANT_BOOL on = VARIANT_FALSE;
    if (!policy_ || FAILED(policy_->get_FirewallEnabled(NET_FW_PROFILE_TYPE2(profile), &on)))
      return std::nullopt;
    return on != VARIANT_FALSE;
  }

  std::optional<bool> BlocksInbound(FirewallProfile profile) override {
    NET_FW_ACTION action{};
    if (!policy_ ||
        FAILED(policy_->get_DefaultInboundAction(NET_FW_PROFILE_TYPE2(profile), &action)))
      return std::nullopt;
    return action == NET_FW_ACTION_BLOCK;
  }

  std::optional<std::vector<FirewallRule>> Rules() override {
    if (!policy_) return std::nullopt;
    INetFwRules* rulesRaw = nullptr;
    if (FAILED(policy_->get_Rules(&rulesRaw)) || !rulesRaw) return std::nullopt;
    const ComPointer<INetFwRules> rules(rulesRaw);
    IUnknown* enumRaw = nullptr;
    if (FAILED(rules->get__NewEnum(&enumRaw)) || !enumRaw) return std::nullopt;
    const ComPointer<IUnknown> enumUnknown(enumRaw);
    IEnumVARIANT* itemsRaw = nullptr;
    if (FAILED(enumUnknown->QueryInterface(__uuidof(IEnumVARIANT),
                                           reinterpret_cast<void**>(&itemsRaw))))
      return std::nullopt;
    const ComPointer<IEnumVARIANT> items(itemsRaw);
    std::vector<FirewallRule> out;
    for (;;) {
      VARIANT item;
      VariantInit(&item);
      ULONG fetched = 0;
      const HRESULT next = items->Next(1, &item, &fetched);
      if (FAILED(next)) return std::nullopt;
      if (next != S_OK || fetched == 0) break;
      INetFwRule* ruleRaw = nullptr;
      const bool isRule = item.vt == VT_DISPATCH && item.pdispVal &&
                          SUCCEEDED(item.pdispVal->QueryInterface(
                              __uuidof(INetFwRule), reinterpret_cast<void**>(&ruleRaw)));
      VariantClear(&item);
      if (!isRule) return std::nullopt;
      const ComPointer<INetFwRule> rule(ruleRaw);
      std::optional<FirewallRule> read = ReadRule(rule.get());
      if (!read) return std::nullopt;
      out.push_back(std::move(*read));
    }
    return out;
  }

 private:
  bool uninitialize_ = false;
  ComPointer<INetFwPolicy2> policy_;
};

}  // namespace

std::unique_ptr<FirewallRules> MakePlatformFirewallRules() {
  return std::make_unique<ComFirewallRules>();
}

std::string OwnProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return Utf8(path);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace orvane

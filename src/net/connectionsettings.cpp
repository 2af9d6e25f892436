#include "net/connectionsettings.h"

#include "app/settings.h"
#include "net/httpcli.h"
#include "net/tlstrust.h"
#include "store/biginifile.h"

namespace qs {

namespace {

// Opens \dfd.ini, runs `work` on its settings, closes it (writing any change).
template <class Work>
auto WithSettings(const TAppFolder& folder, Work work) {
  TBiggerIniFile ini(folder.Path(kSettingsFile));
  TSettings settings(ini, folder);
  try {
    if constexpr (std::is_void_v<decltype(work(settings))>) {
      work(settings);
      ini.Close();
    } else {
      auto result = work(settings);
      ini.Close();
      return result;
    }
  } catch (...) {
    ini.Close();
    throw;
  }
}

}  // namespace

TConnectionSettings::TConnectionSettings(TAppFolder folder) : folder_(std::move(folder)) {}

TProxyValues TConnectionSettings::ReadProxy() {
  using namespace setting;
  TProxyPanel panel = WithSettings(folder_, [](TSettings& s) {
    TProxyPanel p;
    p.behindProxy = s.Flag(kKeyProxy);
    if (p.behindProxy) {
      p.fields.host = s.Text(kProxyHost);
      p.fields.port = s.Text(kProxyPort);
      p.fields.password = s.Text(kProxyPassword);
      p.fields.username = s.Text(kProxyUsername);
    }
    p.caFile = s.Text(kCaFile);
    return p;
  });
  SetExtraCaFile(panel.caFile);
  panel_ = panel;
  return panel.fields;
}

TProxyValues TConnectionSettings::ApplyProxyPanel() {
  using namespace setting;
  const TProxyPanel panel = panel_;
  WithSettings(folder_, [&panel](TSettings& s) {
    s.WriteText(kProxyHost, panel.fields.host);
    s.WriteText(kProxyPassword, panel.fields.password);
    s.WriteText(kProxyPort, panel.fields.port);
    s.WriteText(kProxyUsername, panel.fields.username);
    s.WriteFlag(kKeyProxy, panel.behindProxy);
    s.WriteText(kCaFile, panel.caFile);
  });
  return ReadProxy();
}

void TConnectionSettings::ApplyProxyTo(const TProxyValues& proxy, THttpCli& client) {
  client.SetProxy(proxy.host);
  client.SetProxyPort(proxy.port);
  client.SetProxyUsername(proxy.username);
  client.SetProxyPassword(proxy.password);
}

void TConnectionSettings::ReadTimeoutsPorts() {
  using namespace setting;
  WithSettings(folder_, [this](TSettings& s) {
    ports_.SetValue(s.Number(kPorts));
    timeout_.SetValue(s.Number(kTimeout));
  });
}

void TConnectionSettings::ApplyTimeoutsPorts() {
  using namespace setting;
  const int timeout = timeout_.Value();
  const int ports = ports_.Value();
  WithSettings(folder_, [&](TSettings& s) {
    s.WriteNumber(kTimeout, timeout);
    s.WriteNumber(kPorts, ports);
  });
}

TConnectionSettings::TDialup TConnectionSettings::ReadDialup() {
  using namespace setting;
  return WithSettings(folder_, [](TSettings& s) {
    TDialup d;
    d.onDemand = s.Flag(kOnDemand);
    d.conPrompt = s.Flag(kConPrompt);
    d.hangUp = s.Flag(kHangUp);
    return d;
  });
}

void TConnectionSettings::ClickOnDemand(bool checked) {
  WithSettings(folder_, [checked](TSettings& s) { s.WriteFlag(setting::kOnDemand, checked); });
}
void TConnectionSettings::ClickConPrompt(bool checked) {
  WithSettings(folder_, [checked](TSettings& s) { s.WriteFlag(setting::kConPrompt, checked); });
}
void TConnectionSettings::ClickHangUp(bool checked) {
  WithSettings(folder_, [checked](TSettings& s) { s.WriteFlag(setting::kHangUp, checked); });
}

bool TConnectionSettings::CheckInternet(IInternetConnection& connection, IDialogs* dialogs,
                                        const TLanguageTable& language) {
  if (connection.Connected()) return true;
  if (dialogs) dialogs->Message(language.Lookup("nointernet"), TMsgDlgType::Error);
  return false;
}

void TConnectionSettings::ConnectForScheduler(TWebConnect& web) {
  const TDialup dialup = ReadDialup();
  if (dialup.onDemand) {
    web.SetActive(true);
    web.SetPrompt(dialup.conPrompt);
    web.SetConnect(true);
  } else {
    web.SetActive(false);
    web.SetPrompt(false);
    web.SetConnect(false);
  }
}

void TConnectionSettings::HangUpWhenIdle(TWebConnect& web, bool hangUpChecked) {
  if (hangUpChecked) web.SetConnect(false);
}

}  // namespace qs

// How the program reaches the internet: the proxy every HTTP client uses, the time-out and
// number of parallel submission requests, the dial-up options of the scheduler and the
// connectivity check made before network work starts. The values live in \dfd.ini; the
// Options dialog shows them through this object.
#pragma once

#include <string>

#include "app/appfolder.h"
#include "app/dialogs.h"
#include "app/langtable.h"
#include "net/numberfield.h"
#include "net/webconnect.h"
#include "platform/internetconnection.h"

namespace qs {

class THttpCli;

// The effective proxy: all four empty when the user is not behind a proxy.
struct TProxyValues {
  std::string host, port, username, password;
  bool operator==(const TProxyValues&) const = default;
};

// The proxy panel: the four fields, the choice "I am behind a firewall or proxy", and the
// file of extra trusted certificates ([Security] cafile).
struct TProxyPanel {
  TProxyValues fields;
  bool behindProxy = false;
  std::string caFile;
};

class TConnectionSettings {
 public:
  explicit TConnectionSettings(TAppFolder folder);

  // Reads [Proxy]: KeyProxy decides; when it is off the four values are empty whatever the
  // file holds. The panel shows what was read.
  //
  // Every window and command reads this before its clients connect, so the same read also
  // takes [Security] cafile and makes it the extra trusted certificates of every client
  // (SetExtraCaFile): one setting for the whole program, like the proxy.
  TProxyValues ReadProxy();
  const TProxyPanel& ProxyPanel() const { return panel_; }
  TProxyPanel& EditProxyPanel() { return panel_; }
  // Apply on the proxy panel: writes the four fields (ProxyHost, ProxyPassword, ProxyPort,
  // ProxyUserName), then KeyProxy and [Security] cafile, closes the file and reads it again.
  // Fields left empty because the proxy is off therefore empty the stored values too.
  TProxyValues ApplyProxyPanel();
  // Sets Proxy, ProxyPort, ProxyUsername and ProxyPassword of a client.
  static void ApplyProxyTo(const TProxyValues& proxy, THttpCli& client);

  // Timeout (30 to 120 seconds, 90 when absent) and Ports (1 to 25, 5 when absent): read into
  // the fields when the dialog is created; the run reads the fields; Apply stores them.
  void ReadTimeoutsPorts();
  TNumberField& Timeout() { return timeout_; }
  TNumberField& Ports() { return ports_; }
  void ApplyTimeoutsPorts();

  // The dial-up check boxes: read when the dialog is created, written when clicked.
  struct TDialup {
    bool onDemand = false, conPrompt = false, hangUp = false;
  };
  TDialup ReadDialup();
  void ClickOnDemand(bool checked);
  void ClickConPrompt(bool checked);
  void ClickHangUp(bool checked);

  // True when the system is connected. When not, and `dialogs` is given, shows the message
  // nointernet; the scheduler passes none and skips its pass silently.
  static bool CheckInternet(IInternetConnection& connection, IDialogs* dialogs,
                            const TLanguageTable& language);
  // At every scheduler pass: with OnDemand on, wants a connection (dialling when none is
  // up, with the prompt as ConPrompt says); with it off, makes the component inactive.
  void ConnectForScheduler(TWebConnect& web);
  // At every idle scheduler tick: with "Hangup when finished" checked, gives the connection
  // up (which hangs up only while the component is active and connected).
  static void HangUpWhenIdle(TWebConnect& web, bool hangUpChecked);

 private:
  TAppFolder folder_;
  TProxyPanel panel_;
  TNumberField timeout_{30, 120, 90};
  TNumberField ports_{1, 25, 5};
};

}  // namespace qs

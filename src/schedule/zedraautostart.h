// The autostart entry of the program: registers it to be started when the user logs on,
// while the scheduler runs. The entries live in the desktop's autostart lists (see
// platform/autostart.h); failures are never reported: an entry that cannot be written
// simply reads as off.
#pragma once

#include <string>
#include <string_view>

#include "platform/autostart.h"

namespace qs {

// The name of this program's entry.
inline constexpr std::string_view kAutostartName = "QuorvexEnt";

class TZedraAutostart {
 public:
  // Without a name the entry is called `applicationTitle` + "#Autostart". `executable` is
  // the program the entries start (default: this program's file).
  explicit TZedraAutostart(const std::string& applicationTitle, TAutostartStore store = TAutostartStore(),
                           std::string executable = {});

  // The stored settings of the main window, applied in their order: appName "QuorvexEnt",
  // autostart off, StartNextLogon off, Global off.
  void ApplyProgramSettings();

  const std::string& AppName() const { return appName_; }
  // A name equal to the current one but for letter case changes nothing. Otherwise every
  // entry under the old name (both lists, both scopes) is written under the new one and,
  // once written, removed under the old one.
  void SetAppName(const std::string& name);

  // The entry of the every-log-on list (of the current scope) exists.
  bool Autostart() const;
  void SetAutostart(bool on);
  // The entry of the next-log-on list exists.
  bool StartNextLogon() const;
  void SetStartNextLogon(bool on);

  // Entries belong to the machine instead of the user. Switching on is refused (it stays
  // off) when the machine-wide folder cannot be written; a change of scope moves the
  // existing entries to the new scope.
  bool Global() const { return global_; }
  void SetGlobal(bool on);

  const std::string& Executable() const { return executable_; }
  const TAutostartStore& Store() const { return store_; }

 private:
  void SetEntry(TAutostartList list, bool on);

  TAutostartStore store_;
  std::string executable_;
  std::string appName_;
  bool global_ = false;
  bool firstCall_ = true;
};

}  // namespace qs

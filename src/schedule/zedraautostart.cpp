#include "schedule/zedraautostart.h"

#include <QCoreApplication>

#include "app/text.h"

namespace qs {

namespace {
constexpr TAutostartList kLists[] = {TAutostartList::EveryLogon, TAutostartList::NextLogon};
}

TZedraAutostart::TZedraAutostart(const std::string& applicationTitle, TAutostartStore store,
                                 std::string executable)
    : store_(std::move(store)),
      executable_(std::move(executable)),
      appName_(applicationTitle + "#Autostart") {
  if (executable_.empty()) executable_ = QCoreApplication::applicationFilePath().toStdString();
}

void TZedraAutostart::ApplyProgramSettings() {
  SetAppName(std::string(kAutostartName));
  SetAutostart(false);
  SetStartNextLogon(false);
  SetGlobal(false);
}

void TZedraAutostart::SetAppName(const std::string& name) {
  if (EqualsIgnoreCase(name, appName_)) return;
  for (bool machine : {false, true}) {
    for (TAutostartList list : kLists) {
      if (!store_.Exists(appName_, list, machine)) continue;
      if (store_.Write(name, list, machine, executable_)) store_.Remove(appName_, list, machine);
    }
  }
  appName_ = name;
}

bool TZedraAutostart::Autostart() const {
  return store_.Exists(appName_, TAutostartList::EveryLogon, global_);
}

bool TZedraAutostart::StartNextLogon() const {
  return store_.Exists(appName_, TAutostartList::NextLogon, global_);
}

void TZedraAutostart::SetAutostart(bool on) { SetEntry(TAutostartList::EveryLogon, on); }
void TZedraAutostart::SetStartNextLogon(bool on) { SetEntry(TAutostartList::NextLogon, on); }

void TZedraAutostart::SetEntry(TAutostartList list, bool on) {
  // The first write or removal of a run keeps the every-log-on entry as it stands, whatever
  // was asked: the window applies the stored "off" at creation, and an entry a running
  // scheduler made before the program last ended must survive that. Only these two setters
  // count as that first call; renaming and a change of scope move entries as they are.
  if (firstCall_) {
    firstCall_ = false;
    on = store_.Exists(appName_, TAutostartList::EveryLogon, global_);
  }
  if (on)
    store_.Write(appName_, list, global_, executable_);
  else
    store_.Remove(appName_, list, global_);
}

void TZedraAutostart::SetGlobal(bool on) {
  if (on == global_) return;
  if (on && !store_.MachineWritable()) return;
  for (TAutostartList list : kLists) {
    if (!store_.Exists(appName_, list, global_)) continue;
    if (store_.Write(appName_, list, on, executable_)) store_.Remove(appName_, list, global_);
  }
  global_ = on;
}

}  // namespace qs

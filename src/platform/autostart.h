// The desktop's autostart lists: XDG autostart entries, one "<name>.desktop" file per entry,
// in the user's folder ($XDG_CONFIG_HOME/autostart, default ~/.config/autostart) or, for the
// whole machine, in /etc/xdg/autostart.
//
// Two lists live side by side in each folder: the entries started at every log-on, and the
// entries started once, at the next log-on only. The desktop has no run-once list of its
// own, so a run-once entry is "<name>.runonce.desktop" whose command first removes its own
// file and then starts the program: it runs at the next log-on and is gone afterwards.
//
// Every operation reports failure by its result only; nothing throws.
#pragma once

#include <string>
#include <string_view>

namespace qs {

enum class TAutostartList { EveryLogon, NextLogon };

struct TAutostartFolders {
  std::string user;     // the per-user autostart folder
  std::string machine;  // the machine-wide autostart folder
  // $XDG_CONFIG_HOME/autostart (default $HOME/.config/autostart) and /etc/xdg/autostart.
  static TAutostartFolders Default();
};

class TAutostartStore {
 public:
  explicit TAutostartStore(TAutostartFolders folders = TAutostartFolders::Default())
      : folders_(std::move(folders)) {}

  // The entry's file, or an empty text when `name` cannot name a file in the folder (empty,
  // "." or "..", or holding "/" or a control character).
  std::string EntryFile(std::string_view name, TAutostartList list, bool machine) const;

  // True when the entry's file exists and holds a command (a non-empty Exec line).
  bool Exists(std::string_view name, TAutostartList list, bool machine) const;
  // Adds or replaces the entry: a desktop entry whose command is the quoted executable (the
  // run-once entry removes its own file first). Creates the folder when missing. False when
  // nothing could be written.
  bool Write(std::string_view name, TAutostartList list, bool machine,
             const std::string& executable) const;
  // Removes the entry. True when it is gone afterwards (also when there was none).
  bool Remove(std::string_view name, TAutostartList list, bool machine) const;
  // True when entries can be written for the whole machine: a probe file can be created in
  // (and removed from) the machine-wide folder.
  bool MachineWritable() const;

  // The Exec value of an entry that starts `executable`, with the quoting and escaping of
  // desktop entry files.
  static std::string ExecValue(const std::string& executable);
  // The Exec value of a run-once entry: removes `entryFile`, then starts `executable`.
  static std::string RunOnceExecValue(const std::string& entryFile, const std::string& executable);

  const TAutostartFolders& Folders() const { return folders_; }

 private:
  TAutostartFolders folders_;
};

}  // namespace qs

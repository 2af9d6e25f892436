#include "platform/autostart.h"

#include <cstdlib>
#include <exception>

#include "platform/filesystem.h"

namespace qs {
namespace {

bool HasControlCharacter(std::string_view text) {
  for (unsigned char c : text)
    if (c < 32 || c == 127) return true;
  return false;
}

// One argument of an Exec line: in double quotes, with ", `, $ and \ escaped by a backslash,
// and % doubled (a lone % would start a field code).
std::string ExecArgument(std::string_view argument) {
  std::string out = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    if (c == '%') out += '%';
    out += c;
  }
  return out + "\"";
}

// The value as a desktop entry string: the quoting above is read after the string's own
// escapes, so every backslash is written twice.
std::string EntryString(std::string_view value) {
  std::string out;
  for (char c : value) {
    if (c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string EntryText(std::string_view name, const std::string& exec) {
  return "[Desktop Entry]\nType=Application\nName=" + std::string(name) + "\nExec=" + exec +
         "\nX-GNOME-Autostart-enabled=true\n";
}

// The Exec value of a desktop entry's text, or an empty text.
std::string ExecOf(const std::string& text) {
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + at, end - at);
    if (line.substr(0, 5) == "Exec=") {
      line.remove_prefix(5);
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
      return std::string(line);
    }
    at = end + 1;
  }
  return {};
}

}  // namespace

TAutostartFolders TAutostartFolders::Default() {
  TAutostartFolders f;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config == '/') {
    f.user = std::string(config) + "/autostart";
  } else {
    const char* home = std::getenv("HOME");
    f.user = std::string(home ? home : "") + "/.config/autostart";
  }
  f.machine = "/etc/xdg/autostart";
  return f;
}

std::string TAutostartStore::EntryFile(std::string_view name, TAutostartList list,
                                       bool machine) const {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos ||
      HasControlCharacter(name))
    return {};
  const std::string& folder = machine ? folders_.machine : folders_.user;
  if (folder.empty()) return {};
  return folder + "/" + std::string(name) +
         (list == TAutostartList::NextLogon ? ".runonce.desktop" : ".desktop");
}

bool TAutostartStore::Exists(std::string_view name, TAutostartList list, bool machine) const {
  const std::string file = EntryFile(name, list, machine);
  if (file.empty()) return false;
  try {
    const auto bytes = ReadFileBytes(file);
    return bytes && !ExecOf(*bytes).empty();
  } catch (const std::exception&) {
    return false;
  }
}

bool TAutostartStore::Write(std::string_view name, TAutostartList list, bool machine,
                            const std::string& executable) const {
  const std::string file = EntryFile(name, list, machine);
  if (file.empty() || executable.empty() || HasControlCharacter(executable)) return false;
  const std::string exec = list == TAutostartList::NextLogon ? RunOnceExecValue(file, executable)
                                                             : ExecValue(executable);
  try {
    CreateFolders(machine ? folders_.machine : folders_.user);
    WriteFileAtomically(file, EntryText(name, exec));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TAutostartStore::Remove(std::string_view name, TAutostartList list, bool machine) const {
  const std::string file = EntryFile(name, list, machine);
  if (file.empty()) return false;
  try {
    RemoveFile(file);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TAutostartStore::MachineWritable() const {
  if (folders_.machine.empty()) return false;
  const std::string probe = folders_.machine + "/.quorvex-write-test";
  try {
    CreateFolders(folders_.machine);
    WriteFileAtomically(probe, "");
    RemoveFile(probe);
    return true;
  } catch (const std::exception&) {
    try {
      RemoveFile(probe);
    } catch (const std::exception&) {
      // Nothing was written, or nothing can be removed: either way the answer is no.
    }
    return false;
  }
}

std::string TAutostartStore::ExecValue(const std::string& executable) {
  return EntryString(ExecArgument(executable));
}

std::string TAutostartStore::RunOnceExecValue(const std::string& entryFile,
                                              const std::string& executable) {
  // The shell gets the two paths as $0 and $1, so neither is ever part of the script.
  return EntryString("sh -c " + ExecArgument("rm -f -- \"$0\"; exec \"$1\"") + " " +
                     ExecArgument(entryFile) + " " + ExecArgument(executable));
}

}  // namespace qs

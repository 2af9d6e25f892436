// The project editor on an application folder, as the commands drive it: the language table
// the folder's lang.ini gives, the terminal for messages, the domain list loaded.
#pragma once

#include <string>

#include "app/appstate.h"
#include "cli/commandline.h"
#include "cli/terminalanswerer.h"
#include "projects/projecteditor.h"

namespace qs {

class TProjectSession {
 public:
  TProjectSession(const TAppFolder& folder, TCommandLineIo io);

  // Select a domain, and a project of the selected domain, by name; NameError for a name
  // that is not in the list.
  void SelectDomain(const std::string& domain);
  void SelectProject(const std::string& listedName);

  TAppState& State() { return state_; }
  TProjectEditor& Editor() { return editor_; }
  IDialogs& Dialogs() { return answerer_; }

 private:
  TAppState& Prepare(const TAppFolder& folder);

  TAppState state_;
  TTerminalAnswerer answerer_;
  TProjectEditor editor_;
};

}  // namespace qs

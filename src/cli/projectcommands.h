// The domain and project commands: new-domain, new-project, show, set, delete-project,
// delete-domain, clear-history. They drive the project editor and the wizards exactly as
// the Projects page does, and fail with the same messages.
#pragma once

#include <string>
#include <vector>

#include "app/appfolder.h"
#include "cli/commandline.h"

namespace qs {

// True when `command` is one of these commands; `code` is then its exit code.
bool RunProjectCommand(const TAppFolder& folder, const std::string& command,
                       const std::vector<std::string>& args, TCommandLineIo io, int& code);

}  // namespace qs

// The desktop program: one running copy, the main window with its start-up, the event loop.
#pragma once

#include <string>

#include "app/appfolder.h"

namespace qs {

// Runs the desktop program on the application folder until the main window closes; needs a
// QApplication. `executableName` names the single running copy.
int RunDesktop(const TAppFolder& folder, const std::string& executableName);

}  // namespace qs

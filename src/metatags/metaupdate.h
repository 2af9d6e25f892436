// Update meta info: the current project's title, description and keywords read again from
// its own page by the site import.
#pragma once

#include <string>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "platform/internetconnection.h"
#include "projects/newproject.h"

namespace qs {

// Without a connection shows nointernet and returns false. Otherwise sets the project's URL
// as the new project record's URL and hands the import over in mode "updateproject" from
// that URL.
bool UpdateMetaInfo(TAppState& state, const std::string& projectUrl, IDialogs& dialogs,
                    IInternetConnection& connection, IImportHandOff& import);

}  // namespace qs

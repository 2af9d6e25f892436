#include "metatags/metaupdate.h"

#include "net/connectionsettings.h"

namespace qs {

bool UpdateMetaInfo(TAppState& state, const std::string& projectUrl, IDialogs& dialogs,
                    IInternetConnection& connection, IImportHandOff& import) {
  if (!TConnectionSettings::CheckInternet(connection, &dialogs, state.languageTable)) return false;
  state.newProject.url = projectUrl;
  import.StartImport(kUpdateProject, projectUrl, state.newProject, state.spiderOptions);
  return true;
}

}  // namespace qs

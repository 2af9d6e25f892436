#include "cli/projectsession.h"

#include "app/errors.h"
#include "schedule/schedulefile.h"

namespace qs {

TProjectSession::TProjectSession(const TAppFolder& folder, TCommandLineIo io)
    : answerer_(io.in, io.err, std::string(kProductTitle) + std::string(kVersionSuffix)),
      editor_(Prepare(folder), answerer_) {
  editor_.LoadDomains();
  // No scheduler runs here, so only the schedule file follows the editor.
  BindScheduleFile(editor_, folder);
}

TAppState& TProjectSession::Prepare(const TAppFolder& folder) {
  state_.folder = folder;
  LoadStartupTable(state_.languageTable, folder);
  return state_;
}

void TProjectSession::SelectDomain(const std::string& domain) {
  const int i = editor_.IndexOfDomain(domain);
  if (i < 0) throw NameError("There is no domain \"" + domain + "\".");
  if (i != editor_.SelectedDomain()) editor_.SelectDomain(i);
}

void TProjectSession::SelectProject(const std::string& listedName) {
  const int i = editor_.IndexOfProject(listedName);
  if (i < 0)
    throw NameError("There is no project \"" + listedName + "\" in " + editor_.CurrentDomain() +
                    ".");
  editor_.SelectProject(i);
}

}  // namespace qs

// The meta and doorway commands: the meta tag block of a project, a document cleaned of its
// meta tags or given a project's block, and a doorway page built from a template.
#pragma once

#include <string>
#include <vector>

#include "app/appfolder.h"
#include "cli/commandline.h"

namespace qs {

// `args` after "meta": DOMAIN PROJECT | clean FILE [--out FILE] |
// inject DOMAIN PROJECT FILE [--out FILE].
int RunMetaCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                   TCommandLineIo io);
// `args` after "doorway": DOMAIN PROJECT --template N [--out FILE].
int RunDoorwayCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                      TCommandLineIo io);

}  // namespace qs

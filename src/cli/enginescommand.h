// quorvex-summit engines [--custom] [--type Engines|FFA|Networks] [--list]
#pragma once

#include <string>
#include <vector>

#include "app/appfolder.h"
#include "cli/commandline.h"

namespace qs {

int RunEnginesCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                      TCommandLineIo io);

}  // namespace qs

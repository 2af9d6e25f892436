// The import command: the site import of one domain's site, headless.
#pragma once

#include <string>
#include <vector>

#include "app/appfolder.h"
#include "cli/commandline.h"

namespace qs {

// import --mode addspidered|justspider|updateproject [--ext E] [--levels N] [--max N]
//        [--contact DOMAIN/PROJECT] [--add-all] URL
int RunImportCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                     TCommandLineIo io);

}  // namespace qs

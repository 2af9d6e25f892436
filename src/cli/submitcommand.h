// submit [--yes] DOMAIN [PROJECT...]: queues projects of a domain, runs the submission and
// waits until every entry has ended.
#pragma once

#include <string>
#include <vector>

#include "app/appfolder.h"
#include "cli/commandline.h"

namespace qs {

int RunSubmitCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                     TCommandLineIo io);

}  // namespace qs

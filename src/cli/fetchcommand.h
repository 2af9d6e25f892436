// The fetch command: one request with the stored proxy settings; the answer's status line
// and header lines go to the error stream, its body to the output stream.
#pragma once

#include <string>
#include <vector>

#include "app/appfolder.h"
#include "cli/commandline.h"

namespace qs {

// `args`: [--post DATA] [--referer URL] URL. Exit 0 when an answer header arrived and the
// request ended without error.
int RunFetchCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                    TCommandLineIo io);

}  // namespace qs

// The rank command: the ranking check of the Ranking page, headless. Prints per engine its
// status, its depth and every hit's position with the result page's address. The
// rank-history command prints a project's ranking history.
#pragma once

#include <string>
#include <vector>

#include "app/appfolder.h"
#include "cli/commandline.h"

namespace qs {

// `args`: --url URL --keyword K [--depth N] [--no-history] [ENGINE...]; no ENGINE checks
// every engine of the list. Exit 0 when the run ended; 1 when it could not start or could not
// go on.
int RunRankCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                   TCommandLineIo io);

// `args`: DOMAIN PROJECT [--keyword K] [--csv]. Prints the rows the Ranking page's History
// panel shows for the keyword (every keyword without --keyword).
int RunRankHistoryCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                          TCommandLineIo io);

}  // namespace qs

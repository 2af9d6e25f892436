// schedule list: prints the scheduled list. schedule run [--yes]: runs the scheduler in the
// foreground on the real clock until SIGINT or SIGTERM. schedule stop: Stop Scheduler.
#pragma once

#include <string>
#include <vector>

#include "app/appfolder.h"
#include "cli/commandline.h"

namespace qs {

// `frameIntervalMs` >= 0 replaces the tray animation's 100 ms (tests step it at full speed).
int RunScheduleCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                       TCommandLineIo io, int frameIntervalMs = -1);

}  // namespace qs

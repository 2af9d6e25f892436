// Opening a file or an address with the desktop's default handler, and starting another
// program, without waiting for either.
#pragma once

#include <string>
#include <vector>

namespace qs {

// Starts `program` with `arguments`, detached. False when it could not be started.
bool StartProgram(const std::string& program, const std::vector<std::string>& arguments);

// Opens a file (a full path) or an address (http://...) with the desktop's default handler
// (xdg-open, or the program named by $QUORVEX_OPENER). False when no handler could start.
bool OpenWithDefaultHandler(const std::string& fileOrAddress);

}  // namespace qs

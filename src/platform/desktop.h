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

// Opens a web address in the user's browser. Only http:// and https:// addresses are opened:
// addresses come from engine tables and update archives, and anything else (a file, a
// program's option) is refused with false.
bool OpenWebAddress(const std::string& address);

}  // namespace qs

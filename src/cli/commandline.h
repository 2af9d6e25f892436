// The command-line front end: sub-commands that drive the program's behaviour headless on
// the same application folder the desktop program uses.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qs {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct TCommandLineIo {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// `args` without the program name. `executableFolder` is the default application folder and
// `installedData` the data that fills a new per-user folder.
int RunCommandLine(const std::vector<std::string>& args, const std::string& executableFolder,
                   const std::string& installedData, TCommandLineIo io);

std::string UsageText();

// True when the arguments start the desktop program: nothing but --home options. `home`
// receives the folder they name.
bool WantsDesktop(const std::vector<std::string>& args, std::string& home);

}  // namespace qs

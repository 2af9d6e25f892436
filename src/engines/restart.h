// Installing a downloaded software update: the hand-over at start-up and the restart
// program quorvex-restart, which replaces the program's files and starts it again.
//
// A waiting update is \software.cab with its signature \software.cab.sig beside it. Every
// start of the program that finds it starts the restart program, with the application
// folder as current directory and "--wait <pid>", and ends at once. The restart program
// waits until that process has ended, checks the archive's signature with the publisher's
// key, unpacks it into the folder, removes both files whatever the outcome (so that a
// broken update cannot hand every start over again), renames the executable the archive
// stores (quorvex-summit) to [Application] appname, and starts it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/appfolder.h"
#include "platform/signature.h"

namespace qs {

inline constexpr std::string_view kRestartProgram = "quorvex-restart";
// The name under which the software archive stores the program's executable.
inline constexpr std::string_view kArchivedExecutable = "quorvex-summit";

// True when a downloaded software update waits to be installed.
bool SoftwareWaiting(const TAppFolder& folder);

// The hand-over the main window makes each time it is shown: when software waits, starts
// `executableFolder`/quorvex-restart in the application folder, told to wait for this
// process. True when it was started: the program must end now. False when nothing waits,
// or when the restart program could not be started (then `failure` says why and the
// program goes on as it is).
bool HandOverPendingSoftware(const TAppFolder& folder, const std::string& executableFolder,
                             std::string& failure);

enum class TRestartResult {
  Installed,       // the archive was unpacked; the program was started
  NothingWaiting,  // no archive; the program was started
  Refused,         // the archive was not installed (signature, damage); the program was started
  StillRunning,    // the program did not end in time; nothing was touched, nothing started
  NotStarted,      // done as above, but the program could not be started
};

struct TRestartOptions {
  std::string appDir;    // the restart program's current directory
  int64_t waitFor = 0;   // the process to wait for; 0 waits for none
  int waitSeconds = 30;  // how long to wait for it
  TPublicKey trustedKey = PublisherKey();
  // Whether a process still runs (default: asks the system; a zombie counts as ended).
  std::function<bool(int64_t pid)> running;
  // Starts the program (default: detached, in appDir). False when it could not start.
  std::function<bool(const std::string& program)> start;
  // Told what happens, one line at a time.
  std::function<void(const std::string& line)> log;
};

TRestartResult RunRestart(const TRestartOptions& options);

// The [Application] appname to use: the stored one when it is a plain file name, otherwise
// the default (a name with a folder in it would lead outside the application folder).
std::string SafeAppName(const std::string& stored);

}  // namespace qs

#include "engines/restart.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "app/settings.h"
#include "engines/databaseupdate.h"
#include "platform/cabfile.h"
#include "platform/filesystem.h"

namespace qs {
namespace {

bool ProcessRunning(int64_t pid) {
  if (pid <= 0) return false;
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return false;
  // An ended process its parent has not collected yet is a zombie: it has ended.
  const auto stat = ReadFileBytes("/proc/" + std::to_string(pid) + "/stat");
  if (!stat) return true;
  const size_t paren = stat->rfind(')');
  return !(paren != std::string::npos && paren + 2 < stat->size() && (*stat)[paren + 2] == 'Z');
}

bool StartDetached(const std::string& program, const QStringList& args, const std::string& dir) {
  return QProcess::startDetached(QString::fromStdString(program), args,
                                 QString::fromStdString(dir));
}

}  // namespace

bool SoftwareWaiting(const TAppFolder& folder) {
  return FileExists(folder.Path(kSoftwareArchiveFile));
}

bool HandOverPendingSoftware(const TAppFolder& folder, const std::string& executableFolder,
                             std::string& failure) {
  failure.clear();
  if (!SoftwareWaiting(folder)) return false;
  const std::string program = executableFolder + "/" + std::string(kRestartProgram);
  if (StartDetached(program, {"--wait", QString::number(QCoreApplication::applicationPid())},
                    folder.Root()))
    return true;
  failure = "Cannot start " + program + ": the software update waits in " +
            folder.Path(kSoftwareArchiveFile);
  return false;
}

std::string SafeAppName(const std::string& stored) {
  bool plain = !stored.empty() && stored != "." && stored != "..";
  for (unsigned char c : stored)
    if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F) plain = false;
  return plain ? stored : std::string(setting::kAppName.fixedDefault);
}

TRestartResult RunRestart(const TRestartOptions& options) {
  auto log = [&](const std::string& line) {
    if (options.log) options.log(line);
  };
  const TAppFolder folder(options.appDir);
  std::string appName;
  {
    TBiggerIniFile ini(folder.Path(kSettingsFile));
    appName = TSettings(ini, folder).Text(setting::kAppName);
    ini.Close();
  }
  if (SafeAppName(appName) != appName) {
    log("The stored program name \"" + appName + "\" is refused; using " +
        SafeAppName(appName) + ".");
    appName = SafeAppName(appName);
  }
  const std::string archive = folder.Path(kSoftwareArchiveFile);
  const std::string signature = folder.Path(kSoftwareSignatureFile);
  const std::string program = folder.Root() + "/" + appName;

  TRestartResult result = TRestartResult::NothingWaiting;
  if (FileExists(archive)) {
    const auto running = options.running ? options.running : ProcessRunning;
    int checks = options.waitSeconds * 10;
    while (options.waitFor > 0 && running(options.waitFor)) {
      if (checks-- <= 0) {
        log("The program (process " + std::to_string(options.waitFor) +
            ") did not end; the update waits for the next start.");
        return TRestartResult::StillRunning;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    result = TRestartResult::Refused;
    try {
      const auto bytes = ReadFileBytes(archive);
      const auto sig = ReadFileBytes(signature);
      if (!bytes || !sig || !VerifySignature(options.trustedKey, *bytes, *sig)) {
        log("The software update is not signed by the publisher; it was not installed.");
      } else {
        // The archive replaces each file by renaming the new one over it, so the running
        // program's files are never deleted before their replacements are complete.
        TCABFile cab(archive);
        cab.OnWriteError = log;
        if (cab.ExtractTo(folder.Root())) {
          result = TRestartResult::Installed;
          log("The software update was installed.");
        } else {
          log(cab.ErrorText());
        }
      }
    } catch (const std::exception& e) {
      log(e.what());
    }
    try {
      RemoveFile(archive);
      RemoveFile(signature);
    } catch (const std::exception& e) {
      log(e.what());
    }
  }

  const std::string stored = folder.Root() + "/" + std::string(kArchivedExecutable);
  if (appName != kArchivedExecutable && FileExists(stored)) {
    if (::rename(stored.c_str(), program.c_str()) != 0)
      log("Cannot rename " + stored + " to " + program + ": " + std::strerror(errno));
  }
  // The program must stay executable, whatever the archive said about it.
  struct stat st {};
  if (::stat(program.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0100) == 0) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(program.c_str(), (st.st_mode & 07777) | (0111 & ~mask));
  }
  const bool started = options.start ? options.start(program)
                                     : StartDetached(program, {}, folder.Root());
  if (!started) {
    log("Cannot start " + program + ".");
    return TRestartResult::NotStarted;
  }
  return result;
}

}  // namespace qs

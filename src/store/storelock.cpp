#include "store/storelock.h"

#include <QLockFile>
#include <QString>
#include <map>
#include <memory>

#include "app/errors.h"

namespace qs {
namespace {

struct Held {
  std::unique_ptr<QLockFile> file;  // null when the folder allowed no lock file
  int count = 0;
};

std::map<std::string, Held>& HeldLocks() {
  static std::map<std::string, Held> held;
  return held;
}

std::chrono::milliseconds g_wait{10000};

}  // namespace

std::chrono::milliseconds TStoreLock::Wait() { return g_wait; }
void TStoreLock::SetWait(std::chrono::milliseconds wait) { g_wait = wait; }

std::string TStoreLock::LockFileOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + ".lock";
}

TStoreLock::TStoreLock(std::string path) : path_(std::move(path)) {
  Held& held = HeldLocks()[path_];
  if (held.count > 0) {
    ++held.count;
    return;
  }
  auto file = std::make_unique<QLockFile>(QString::fromStdString(LockFileOf(path_)));
  // Every holder keeps the lock for one read-change-write of a small file: a lock this old
  // belongs to a process that hangs, and is taken over like one whose process is gone.
  file->setStaleLockTime(5 * 60 * 1000);
  if (!file->tryLock(static_cast<int>(g_wait.count()))) {
    if (file->error() == QLockFile::LockFailedError) {
      HeldLocks().erase(path_);
      throw IoError("Cannot open " + path_ + ": another Quorvex Summit process is changing it; " +
                    "try again when it has finished.");
    }
    // No lock file can be made here (a read-only or missing folder): then no other process
    // can write the file either, and a write of ours fails with its own message.
    file.reset();
  }
  held.file = std::move(file);
  held.count = 1;
}

TStoreLock::~TStoreLock() {
  auto it = HeldLocks().find(path_);
  if (it == HeldLocks().end()) return;
  if (--it->second.count == 0) HeldLocks().erase(it);  // QLockFile's destructor unlocks
}

}  // namespace qs

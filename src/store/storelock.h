// Keeps other processes out of one stored file while this one reads, changes and writes it
// back.
//
// The desktop program, the scheduler and the command line may all work on one application
// folder at once. Every stored file is written whole (read, change in memory, write back),
// so two writers that overlap lose one of the changes. A TStoreLock held from the read to
// the write makes them take turns.
//
// One lock per file rather than one per folder: a long run in the desktop program touches
// one project file at a time and never keeps a command line edit of another file waiting.
// The lock is a hidden file beside the stored one (".NAME.lock"); a process that dies
// holding it leaves it stale, and the next process takes it over.
//
// Within one process the lock nests: a second TStoreLock on a file this process already
// holds just counts. Everything runs on one thread.
#pragma once

#include <chrono>
#include <string>

namespace qs {

class TStoreLock {
 public:
  // Waits up to Wait() for another process to let go; throws IoError when it does not. A
  // folder where no lock file can be made (read-only, missing) takes no lock: nothing can be
  // written there either.
  explicit TStoreLock(std::string path);
  ~TStoreLock();
  TStoreLock(const TStoreLock&) = delete;
  TStoreLock& operator=(const TStoreLock&) = delete;

  static std::chrono::milliseconds Wait();
  static void SetWait(std::chrono::milliseconds wait);  // tests shorten it

  // The lock file's name for a stored file, for the folder tidying that must leave it alone.
  static std::string LockFileOf(const std::string& path);

 private:
  std::string path_;
};

}  // namespace qs

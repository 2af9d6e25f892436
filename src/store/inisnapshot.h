// An INI store kept between reads of the same file: the file is read once and read again
// only when it changed since, so a caller that must see every saved change may look at it
// as often as it likes at the cost of one stat().
//
// A change is a different device, inode, size, modification time or change time. Every
// writer of this program replaces a file by renaming a new one over it, which always gives
// a new inode. A program that rewrites a file in place changes its times, which the file
// system keeps to its clock's tick (a few milliseconds at worst): only a rewrite in place to
// the same size within the tick of the read could go unseen, until the next change.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <memory>
#include <string>

#include "store/biginifile.h"

namespace qs {

class TIniSnapshot {
 public:
  explicit TIniSnapshot(std::string path = {}) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  // Another file: the snapshot of the former one is dropped.
  void SetPath(std::string path);

  // The store as the file is now. A missing file is an empty store. Throws IoError as
  // opening a store does (a file that exists but cannot be read, a path too long); no
  // snapshot is kept then. A store that dropped duplicate sections while it was read is
  // written back at once, as closing it would have done.
  TBiggerIniFile& Fresh();

  // How often Fresh() read the file (tests).
  int Reads() const { return reads_; }

 private:
  struct Identity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{}, changed{};
    bool operator==(const Identity& o) const;
  };
  // False when stat() failed for another reason than a missing file.
  bool Stat(Identity& identity) const;

  std::string path_;
  std::unique_ptr<TBiggerIniFile> store_;
  Identity identity_;
  int reads_ = 0;
};

}  // namespace qs

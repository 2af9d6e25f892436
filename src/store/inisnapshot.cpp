#include "store/inisnapshot.h"

#include <sys/stat.h>

#include <cerrno>

namespace qs {

bool TIniSnapshot::Identity::operator==(const Identity& o) const {
  if (exists != o.exists) return false;
  if (!exists) return true;
  return device == o.device && inode == o.inode && size == o.size &&
         modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
         changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
}

void TIniSnapshot::SetPath(std::string path) {
  if (path == path_) return;
  path_ = std::move(path);
  store_.reset();
}

bool TIniSnapshot::Stat(Identity& identity) const {
  struct stat st {};
  identity = Identity{};
  if (::stat(path_.c_str(), &st) != 0) return errno == ENOENT;
  identity.exists = true;
  identity.device = st.st_dev;
  identity.inode = st.st_ino;
  identity.size = st.st_size;
  identity.modified = st.st_mtim;
  identity.changed = st.st_ctim;
  return true;
}

TBiggerIniFile& TIniSnapshot::Fresh() {
  Identity now;
  const bool known = Stat(now);
  if (store_ && known && now == identity_) return *store_;
  // Read again. The identity is taken before the read: a change made while reading is seen
  // by the next look, never missed.
  store_.reset();
  auto store = std::make_unique<TBiggerIniFile>(path_);
  ++reads_;
  if (store->Changed()) {
    store->SaveToDisk();
    Stat(now);
  }
  // Kept for reading only: other processes may write the file meanwhile, and the identity
  // check sees it.
  store->ReleaseLock();
  identity_ = now;  // when stat() failed, `known` is false and the next look reads again
  store_ = std::move(store);
  return *store_;
}

}  // namespace qs

#include "platform/filesystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "app/errors.h"

namespace qs {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string TooLarge(const std::string& path, size_t maxBytes) {
  return "Cannot read " + path + ": it is larger than " + std::to_string(maxBytes) + " bytes";
}

// The rest of an open file; more than `maxBytes` (the file may grow while it is read) throws.
std::string ReadAll(int fd, const std::string& path, size_t expected, size_t maxBytes) {
  std::string bytes;
  bytes.reserve(std::min(expected, maxBytes));
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw IoError(OsErrorText("Cannot read", path, errno));
    }
    if (n == 0) break;
    if (static_cast<size_t>(n) > maxBytes - bytes.size()) throw IoError(TooLarge(path, maxBytes));
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
}

mode_t CurrentUmask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return std::nullopt;
    throw IoError(OsErrorText("Cannot open", path, errno));
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) throw IoError(OsErrorText("Cannot read", path, errno));
  if (S_ISDIR(st.st_mode)) throw IoError(OsErrorText("Cannot read", path, EISDIR));
  return ReadAll(fd.get(), path, static_cast<size_t>(std::max<off_t>(st.st_size, 0)), SIZE_MAX);
}

std::optional<std::string> ReadRegularFileBytes(const std::string& path, size_t maxBytes) {
  // Non-blocking, so that opening a pipe with no writer returns at once.
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    if (errno == ENOENT) return std::nullopt;
    throw IoError(OsErrorText("Cannot open", path, errno));
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) throw IoError(OsErrorText("Cannot read", path, errno));
  if (!S_ISREG(st.st_mode)) throw IoError("Cannot read " + path + ": it is not a regular file");
  if (static_cast<unsigned long long>(st.st_size) > maxBytes) throw IoError(TooLarge(path, maxBytes));
  return ReadAll(fd.get(), path, static_cast<size_t>(st.st_size), maxBytes);
}

TAtomicFile::TAtomicFile(std::string path) : path_(std::move(path)) {
  // A file the user made read-only stays as it is: the rename would replace it regardless of
  // its mode. Write bits are checked too, since the owner (root among them) may pass access().
  struct stat target {};
  if (::stat(path_.c_str(), &target) == 0 && S_ISREG(target.st_mode) &&
      ((target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path_.c_str(), W_OK) != 0))
    throw IoError(OsErrorText("Cannot write", path_, EACCES));
  const std::string folder = FolderOf(path_);
  temp_ = folder + "/." + path_.substr(path_.find_last_of('/') + 1) + ".XXXXXX";
  fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
  if (fd_ < 0) throw IoError(OsErrorText("Cannot write", path_, errno));
  // Keep the permissions of the file being replaced; a new file gets the usual ones.
  struct stat old {};
  mode_t mode = (::stat(path_.c_str(), &old) == 0) ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
  if (::fchmod(fd_, mode) != 0) Fail(errno);
}

TAtomicFile::~TAtomicFile() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temp_.c_str());
  }
}

void TAtomicFile::Fail(int err) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(temp_.c_str());
  throw IoError(OsErrorText("Cannot write", path_, err));
}

void TAtomicFile::Write(std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd_, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
}

void TAtomicFile::Commit() {
  if (::fsync(fd_) != 0) Fail(errno);
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    ::unlink(temp_.c_str());
    throw IoError(OsErrorText("Cannot write", path_, errno));
  }
  if (::rename(temp_.c_str(), path_.c_str()) != 0) {
    int err = errno;
    ::unlink(temp_.c_str());
    throw IoError(OsErrorText("Cannot write", path_, err));
  }
  // Make the rename itself durable.
  Fd dir(::open(FolderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  TAtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}

namespace {

bool IsTemporaryName(std::string_view name) {
  constexpr size_t kSuffix = 6;  // mkstemp's XXXXXX
  if (name.size() < 1 + 1 + 1 + kSuffix || name.front() != '.') return false;
  const size_t dot = name.size() - kSuffix - 1;
  if (name[dot] != '.') return false;
  for (char c : name.substr(dot + 1))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

int RemoveStaleTemporaryFiles(const std::string& folder) {
  std::error_code ec;
  const auto limit = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1);
  int removed = 0;
  for (auto it = std::filesystem::directory_iterator(folder, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code entryError;
    if (!IsTemporaryName(it->path().filename().string()) || !it->is_regular_file(entryError) ||
        it->last_write_time(entryError) > limit || entryError)
      continue;
    if (::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void CreateFolders(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec) throw IoError("Cannot create folder " + path + ": " + ec.message());
  if (!FolderExists(path)) throw IoError(OsErrorText("Cannot create folder", path, ENOTDIR));
}

void RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT)
    throw IoError(OsErrorText("Cannot delete", path, errno));
}

}  // namespace qs

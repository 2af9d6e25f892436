// Whole-file reading and writing for every file the program keeps.
//
// A file is always written whole: the bytes go to a temporary file in the same folder, which
// is flushed to disk and then renamed over the old file. A crash, a full disk or a folder that
// cannot be written leaves the old file exactly as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qs {

// The file's bytes, or nothing when no file exists at `path`. Throws IoError when the file
// exists but cannot be read (a folder, no permission, a read error).
std::optional<std::string> ReadFileBytes(const std::string& path);

// The same for a file a setting names (a template): only a regular file is read, so a name
// like /dev/zero or a pipe can neither fill memory nor block, and a file larger than
// `maxBytes` is refused. Throws IoError saying which.
std::optional<std::string> ReadRegularFileBytes(const std::string& path, size_t maxBytes);

// Replaces the file at `path` by `bytes`, atomically. Throws IoError with the operating
// system's text on any failure; the old file (if any) is then untouched and no temporary
// file is left behind.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// The same for a file written in pieces: Write() as often as needed, then Commit(). A
// writer dropped without Commit() removes its temporary file and leaves the old file as it
// was. Throws IoError with the operating system's text.
class TAtomicFile {
 public:
  explicit TAtomicFile(std::string path);
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  void Write(std::string_view bytes);
  void Commit();

 private:
  [[noreturn]] void Fail(int err);
  std::string path_, temp_;
  int fd_ = -1;
};

// Removes what killed writers left in `folder`: files named like the hidden temporary files
// above (".NAME.XXXXXX", six letters or digits at the end) that were last written more than
// a minute ago, so that a writer still at work keeps its own. Gives how many went; a folder
// that cannot be read is passed over.
int RemoveStaleTemporaryFiles(const std::string& folder);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Creates the folder and its missing parents. Throws IoError on failure.
void CreateFolders(const std::string& path);

// Removes a file; a file that does not exist is not an error. Throws IoError otherwise.
void RemoveFile(const std::string& path);

}  // namespace qs

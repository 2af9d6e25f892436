// A fresh folder for one test, removed afterwards, with small file helpers.
#pragma once

#include <string>
#include <utility>
#include <string_view>

#include "app/appfolder.h"

namespace qs::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Root() const { return root_; }
  // Root() + "/" + relative ("\" separators are accepted too).
  std::string Path(std::string_view relative) const;
  TAppFolder AppFolder() const { return TAppFolder(root_); }

  // Writes bytes to the file, creating its folders.
  void Write(std::string_view relative, std::string_view bytes) const;
  // The file's bytes; an empty text for a missing file.
  std::string Read(std::string_view relative) const;
  bool Exists(std::string_view relative) const;
  // The file's inode and modification time, or -1 when it does not exist: it changes
  // whenever the file is replaced or written.
  std::pair<long long, long long> Identity(std::string_view relative) const;

 private:
  std::string root_;
};

}  // namespace qs::test

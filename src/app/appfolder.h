// The application folder: every file the program keeps lies under it.
//
// Stored paths are written relative to the folder with "\" separators ("\data\dfd.ini");
// Path() turns one into a full path. Names that come from user input are appended after
// that conversion, so a "\" in them never becomes a separator.
#pragma once

#include <string>
#include <string_view>

namespace qs {

class TAppFolder {
 public:
  TAppFolder() = default;
  // `root` is made absolute and loses any trailing "/".
  explicit TAppFolder(std::string root);

  const std::string& Root() const { return root_; }

  // Root() + the relative path with every "\" turned into "/".
  std::string Path(std::string_view relative) const;

  // The folder to use: `homeOption` (--home) if given, else $QUORVEX_HOME, else the
  // executable's folder when it can be written, else the per-user data folder
  // ($XDG_DATA_HOME/quorvex-summit), which is filled from `installedData` the first time,
  // whole or not at all; on later starts any file of `installedData` it lacks is added.
  static TAppFolder Resolve(const std::string& homeOption, const std::string& executableFolder,
                            const std::string& installedData);

 private:
  std::string root_;
};

}  // namespace qs

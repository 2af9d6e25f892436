#include "app/appfolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app/errors.h"
#include "platform/filesystem.h"

namespace qs {

namespace fs = std::filesystem;

TAppFolder::TAppFolder(std::string root) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(root), ec);
  root_ = (ec ? fs::path(root) : p).lexically_normal().string();
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

std::string TAppFolder::Path(std::string_view relative) const {
  std::string path = root_;
  if (!relative.empty() && relative.front() != '\\' && relative.front() != '/') path += '/';
  for (char c : relative) path += (c == '\\') ? '/' : c;
  return path;
}

TAppFolder TAppFolder::Resolve(const std::string& homeOption, const std::string& executableFolder,
                               const std::string& installedData) {
  if (!homeOption.empty()) return TAppFolder(homeOption);
  if (const char* env = std::getenv("QUORVEX_HOME"); env && *env) return TAppFolder(env);
  if (::access(executableFolder.c_str(), W_OK) == 0) return TAppFolder(executableFolder);

  std::string base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
    base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = std::string(home) + "/.local/share";
  else
    throw IoError("Cannot find a folder for the program's data: HOME is not set");
  TAppFolder folder(base + "/quorvex-summit");
  if (!FolderExists(folder.Root())) {
    CreateFolders(folder.Root());
    std::error_code ec;
    if (!installedData.empty() && FolderExists(installedData))
      fs::copy(installedData, folder.Root(), fs::copy_options::recursive, ec);
    if (ec) throw IoError("Cannot fill " + folder.Root() + " from " + installedData + ": " + ec.message());
  }
  return folder;
}

}  // namespace qs

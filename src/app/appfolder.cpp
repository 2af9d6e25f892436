#include "app/appfolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

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

namespace {

void RemoveQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
}

// Fills a new per-user folder from the installation data in a hidden folder beside it and
// renames that into place: a full disk or a kill leaves no half-filled folder behind.
void FillFolder(const std::string& installedData, const std::string& root) {
  const fs::path target(root);
  CreateFolders(target.parent_path().string());
  std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  if (::mkdtemp(temp.data()) == nullptr)
    throw IoError(OsErrorText("Cannot create folder", temp, errno));
  std::error_code ec;
  fs::copy(installedData, temp, fs::copy_options::recursive, ec);
  if (ec) {
    RemoveQuietly(temp);
    throw IoError("Cannot fill " + root + " from " + installedData + ": " + ec.message());
  }
  if (::rename(temp.c_str(), root.c_str()) != 0) {
    const int err = errno;
    RemoveQuietly(temp);
    // Another start filled it first: that one is as good.
    if (!FolderExists(root)) throw IoError(OsErrorText("Cannot fill", root, err));
  }
}

// A folder filled by an older version, or one whose files the user removed: every shipped
// file that is missing comes back, each written whole. Files that are there stay as they are.
// Nothing here stops the start: a file that cannot be added is tried again next time.
void AddMissingFiles(const std::string& installedData, const std::string& root) {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(installedData, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    const fs::path target = fs::path(root) / fs::relative(it->path(), installedData);
    if (fs::exists(fs::symlink_status(target))) continue;
    try {
      CreateFolders(target.parent_path().string());
      const std::optional<std::string> bytes = ReadFileBytes(it->path().string());
      if (bytes) WriteFileAtomically(target.string(), *bytes);
    } catch (const IoError&) {
      // The folder is usable without it (a full disk, say); the next start tries again.
    }
  }
}

}  // namespace

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
  if (installedData.empty() || !FolderExists(installedData)) {
    if (!FolderExists(folder.Root())) CreateFolders(folder.Root());
  } else if (!FolderExists(folder.Root())) {
    FillFolder(installedData, folder.Root());
  } else {
    AddMissingFiles(installedData, folder.Root());
  }
  return folder;
}

}  // namespace qs

#include "support/tempfolder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qs::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "qs-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(root_, ec);
}

std::string TempFolder::Path(std::string_view relative) const {
  std::string path = root_;
  if (!relative.empty() && relative.front() != '/' && relative.front() != '\\') path += '/';
  for (char c : relative) path += c == '\\' ? '/' : c;
  return path;
}

void TempFolder::Write(std::string_view relative, std::string_view bytes) const {
  fs::path p = Path(relative);
  fs::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + p.string());
}

std::string TempFolder::Read(std::string_view relative) const {
  std::ifstream f(Path(relative), std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

bool TempFolder::Exists(std::string_view relative) const { return fs::exists(Path(relative)); }

std::pair<long long, long long> TempFolder::Identity(std::string_view relative) const {
  struct stat st {};
  if (::stat(Path(relative).c_str(), &st) != 0) return {-1, -1};
  return {static_cast<long long>(st.st_ino),
          static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

}  // namespace qs::test

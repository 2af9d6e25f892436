// Fuzz target for cabinet extraction.
//
// The input is the archive. It is extracted into an empty folder inside a private working
// folder, and checked, with a trap on the first failure:
//   - nothing is ever written outside the target folder (the working folder holds only the
//     archive and the target afterwards);
//   - a refused archive leaves the target folder empty: no file, no folder, no temporary;
//   - an accepted archive leaves exactly its entries' files, each as long as it declares;
//   - listing and extracting agree on whether the archive is acceptable before writing.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/cabfile.h"

namespace fs = std::filesystem;

namespace {

// Made once and removed at exit; never destroyed, so the exit handler can still read it.
const std::string& WorkFolder() {
  static const std::string* folder = [] {
    auto* pattern = new std::string((fs::temp_directory_path() / "qs-fuzz-cab-XXXXXX").string());
    if (!::mkdtemp(pattern->data())) std::abort();
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(WorkFolder(), ec);
    });
    return pattern;
  }();
  return *folder;
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string work = WorkFolder();
  const std::string archive = work + "/archive.cab";
  const std::string target = work + "/target";
  fs::remove_all(target);
  fs::create_directory(target);
  {
    std::ofstream f(archive, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  qs::TCABFile lister(archive);
  std::vector<qs::TCabEntry> listed;
  const bool acceptable = lister.List(listed);

  qs::TCABFile cab(archive);
  const bool ok = cab.ExtractTo(target);
  if (!acceptable) Check(!ok);

  std::set<std::string> inWork;
  for (const auto& e : fs::directory_iterator(work)) inWork.insert(e.path().filename().string());
  Check(inWork == std::set<std::string>{"archive.cab", "target"});

  std::vector<fs::path> found;
  for (auto it = fs::recursive_directory_iterator(target); it != fs::recursive_directory_iterator();
       ++it)
    found.push_back(it->path());
  if (!ok) {
    Check(found.empty());
    Check(cab.Extracted().empty());
    return 0;
  }
  std::set<std::string> expected;
  for (const qs::TCabEntry& e : cab.Extracted()) {
    expected.insert(e.path);
    const fs::path file = fs::path(target) / e.path;
    Check(fs::is_regular_file(fs::symlink_status(file)));
  }
  // The last entry of a name wins; its size is the one on disk.
  for (auto it = cab.Extracted().rbegin(); it != cab.Extracted().rend(); ++it) {
    if (!expected.erase(it->path)) continue;
    Check(fs::file_size(fs::path(target) / it->path) == it->length);
  }
  for (const fs::path& p : found) {
    if (fs::is_directory(fs::symlink_status(p))) continue;
    const std::string rel = fs::relative(p, target).string();
    bool known = false;
    for (const qs::TCabEntry& e : cab.Extracted()) known = known || e.path == rel;
    Check(known);
  }
  return 0;
}

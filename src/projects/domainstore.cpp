#include "projects/domainstore.h"

#include <algorithm>
#include <filesystem>

#include "app/text.h"
#include "platform/filesystem.h"
#include "platform/regional.h"
#include "projects/naming.h"
#include "store/biginifile.h"

namespace qs {

void SortNames(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    if (LessIgnoreCase(a, b)) return true;
    if (LessIgnoreCase(b, a)) return false;
    return a < b;
  });
}

std::string TDomainStore::DomainListFile() const { return folder_.Path(kDomainListFile); }

std::string TDomainStore::ProjectListFile(std::string_view domain) const {
  CheckDomainName(domain);
  return folder_.Path("\\data\\domains\\") + std::string(domain) + ".zro";
}

std::string TDomainStore::ProjectFolder(std::string_view domain) const {
  CheckDomainName(domain);
  return folder_.Path("\\data\\domains\\projects\\") + std::string(domain);
}

std::string TDomainStore::ProjectFile(std::string_view domain, std::string_view projectKey) const {
  CheckProjectKey(projectKey);
  return ProjectFolder(domain) + "/" + std::string(projectKey) + ".zro";
}

std::string TDomainStore::HistoryFile(std::string_view domain, std::string_view projectKey) const {
  CheckProjectKey(projectKey);
  return ProjectFolder(domain) + "/" + std::string(projectKey) + ".hst";
}

std::string TDomainStore::RankHistoryFile(std::string_view domain, std::string_view projectKey) const {
  CheckProjectKey(projectKey);
  return ProjectFolder(domain) + "/" + std::string(projectKey) + ".rnk";
}

namespace {

// A file name may hold 255 bytes; the store takes full paths of up to 255 bytes.
constexpr size_t kMaxFileName = 255;
// What a stored file's hidden temporary twin adds to its name: "." before, ".XXXXXX" after.
constexpr size_t kTemporaryExtra = 8;

std::string PathProblem(const std::string& path) {
  const size_t name = path.size() - (path.find_last_of('/') + 1);
  if (path.size() > TBigIniFile::kMaxPath || name + kTemporaryExtra > kMaxFileName)
    return "its file " + path + " would be longer than 255 characters";
  return {};
}

// The longest date a report name carries in the current regional format, without its "/".
size_t LongestReportDate() {
  static QString format;
  static size_t longest = 0;
  if (format != regional::ShortDateFormat() || longest == 0) {
    format = regional::ShortDateFormat();
    longest = 0;
    for (int month = 1; month <= 12; ++month)
      longest = std::max(longest,
                         ReplaceAll(regional::FormatDate(QDate(2000, month, 28)), "/", "").size());
  }
  return longest;
}

}  // namespace

int RemoveStaleTemporaryFiles(const TAppFolder& folder) {
  int removed = 0;
  for (const char* path : {"", "\\data", "\\data\\domains"})
    removed += RemoveStaleTemporaryFiles(folder.Path(path));
  std::error_code ec;
  const std::string projects = folder.Path("\\data\\domains\\projects");
  for (auto it = std::filesystem::directory_iterator(projects, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) removed += RemoveStaleTemporaryFiles(it->path().string());
  }
  return removed;
}

std::string SkippedLinesText(const std::string& listFile, const std::vector<std::string>& skipped) {
  std::string text = "These lines of " + listFile + " cannot be used here and are left out:";
  for (const std::string& line : skipped) text += "\n" + line;
  return text;
}

std::string TDomainStore::DomainProblem(std::string_view domain) const {
  if (std::string problem = NameProblem(domain); !problem.empty()) return problem;
  // Folders may be copied to file systems that ignore letter case.
  if (EqualsIgnoreCase(domain, "domains")) return "the domain list itself is stored under that name";
  if (std::string problem = PathProblem(ProjectListFile(domain)); !problem.empty()) return problem;
  return {};
}

std::string TDomainStore::ProjectProblem(std::string_view domain,
                                         std::string_view listedName) const {
  if (std::string problem = DomainProblem(domain); !problem.empty()) return problem;
  const std::string key = ProjectKeyOf(listedName);
  if (std::string problem = NameProblem(key); !problem.empty()) return problem;
  // The dated report has the longest name of the project's files.
  const std::string base = ProjectFolder(domain) + "/" + key;
  for (const std::string& path : {base + ".zro", base + std::string(LongestReportDate(), '0') + ".htm"})
    if (std::string problem = PathProblem(path); !problem.empty()) return problem;
  return {};
}

std::vector<std::string> TDomainStore::ReadList(const std::string& file) const {
  std::vector<std::string> list;
  TBigIniFile ini(file);
  ini.ReadSectionLines("List", list);
  ini.Close();
  SortNames(list);
  return list;
}

std::vector<std::string> TDomainStore::Usable(std::vector<std::string> lines,
                                              std::string_view domain,
                                              std::vector<std::string>* skipped) const {
  std::erase_if(lines, [&](const std::string& line) {
    std::string problem = domain.empty() ? DomainProblem(line) : ProjectProblem(domain, line);
    if (problem.empty()) return false;
    if (skipped) skipped->push_back("\"" + line + "\": " + problem);
    return true;
  });
  return lines;
}

std::vector<std::string> TDomainStore::ChangeList(
    const std::string& file, std::string_view countSection, std::string_view name, bool add,
    const std::function<void(const std::vector<std::string>&)>& check) const {
  TBigIniFile ini(file);
  std::vector<std::string> list;
  ini.ReadSectionLines("List", list);
  if (check) check(list);
  auto it = std::find(list.begin(), list.end(), name);
  if (add && it == list.end()) list.emplace_back(name);
  if (!add && it != list.end()) list.erase(it);
  SortNames(list);
  ini.WriteText(countSection, "Count", std::to_string(list.size()));
  ini.WriteSectionLines("List", list);
  ini.Close();
  return list;
}

void TDomainStore::SaveList(const std::string& file, std::string_view countSection,
                            const std::vector<std::string>& list) const {
  TBigIniFile ini(file);
  ini.WriteText(countSection, "Count", std::to_string(list.size()));
  ini.WriteSectionLines("List", list);
  ini.Close();
}

std::vector<std::string> TDomainStore::ReadDomainList(std::vector<std::string>* skipped) const {
  return Usable(ReadList(DomainListFile()), {}, skipped);
}

std::vector<std::string> TDomainStore::ReadProjectList(std::string_view domain,
                                                       std::vector<std::string>* skipped) const {
  return Usable(ReadList(ProjectListFile(domain)), domain, skipped);
}

std::vector<std::string> TDomainStore::AddToDomainList(std::string_view domain) const {
  CheckDomainName(domain);
  return Usable(ChangeList(DomainListFile(), "Domains", domain, true), {}, nullptr);
}

std::vector<std::string> TDomainStore::RemoveFromDomainList(std::string_view domain) const {
  return Usable(ChangeList(DomainListFile(), "Domains", domain, false), {}, nullptr);
}

std::vector<std::string> TDomainStore::AddToProjectList(
    std::string_view domain, std::string_view listed,
    const std::function<void(const std::vector<std::string>&)>& check) const {
  CheckProjectKey(ProjectKeyOf(listed));
  return Usable(ChangeList(ProjectListFile(domain), "Session", listed, true, check), domain,
                nullptr);
}

std::vector<std::string> TDomainStore::RemoveFromProjectList(std::string_view domain,
                                                             std::string_view listed) const {
  return Usable(ChangeList(ProjectListFile(domain), "Session", listed, false), domain, nullptr);
}

void TDomainStore::SaveDomainList(const std::vector<std::string>& domains) const {
  for (const auto& d : domains) CheckDomainName(d);
  SaveList(DomainListFile(), "Domains", domains);
}

void TDomainStore::SaveProjectList(std::string_view domain,
                                   const std::vector<std::string>& projects) const {
  for (const auto& p : projects) CheckProjectKey(ProjectKeyOf(p));
  SaveList(ProjectListFile(domain), "Session", projects);
}

std::string TDomainStore::ReadProjectValue(std::string_view domain, std::string_view projectKey,
                                           std::string_view section, std::string_view key,
                                           std::string_view defaultText) const {
  TBigIniFile ini(ProjectFile(domain, projectKey));
  std::string value = ini.ReadText(section, key, defaultText);
  ini.Close();
  return value;
}

void TDomainStore::WriteProjectValue(std::string_view domain, std::string_view projectKey,
                                     std::string_view section, std::string_view key,
                                     std::string_view value) const {
  TBigIniFile ini(ProjectFile(domain, projectKey));
  ini.WriteText(section, key, value);
  ini.Close();
}

void TDomainStore::CreateDomainFolder(std::string_view domain) const {
  CreateFolders(ProjectFolder(domain));
}

}  // namespace qs

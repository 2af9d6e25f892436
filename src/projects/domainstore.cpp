#include "projects/domainstore.h"

#include <algorithm>

#include "app/text.h"
#include "platform/filesystem.h"
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

std::vector<std::string> TDomainStore::ReadList(const std::string& file) const {
  std::vector<std::string> list;
  TBigIniFile ini(file);
  ini.ReadSectionLines("List", list);
  ini.Close();
  SortNames(list);
  return list;
}

void TDomainStore::SaveList(const std::string& file, std::string_view countSection,
                            const std::vector<std::string>& list) const {
  TBigIniFile ini(file);
  ini.WriteText(countSection, "Count", std::to_string(list.size()));
  ini.WriteSectionLines("List", list);
  ini.Close();
}

std::vector<std::string> TDomainStore::ReadDomainList() const { return ReadList(DomainListFile()); }

std::vector<std::string> TDomainStore::ReadProjectList(std::string_view domain) const {
  return ReadList(ProjectListFile(domain));
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

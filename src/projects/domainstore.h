// The files of domains and projects: the domain list, one project list per domain and one
// file per project, all read and written through the INI store, one opening per call.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"

namespace qs {

inline constexpr std::string_view kDomainListFile = "\\data\\domains\\domains.zro";

class TDomainStore {
 public:
  explicit TDomainStore(const TAppFolder& folder) : folder_(folder) {}

  // Paths. Each checks the names it is given (CheckDomainName, CheckProjectKey) and throws
  // NameError before anything is read or written.
  std::string DomainListFile() const;
  std::string ProjectListFile(std::string_view domain) const;
  std::string ProjectFolder(std::string_view domain) const;
  std::string ProjectFile(std::string_view domain, std::string_view projectKey) const;
  std::string HistoryFile(std::string_view domain, std::string_view projectKey) const;
  // The project's ranking history, ProjectKey + ".rnk" beside its project file.
  std::string RankHistoryFile(std::string_view domain, std::string_view projectKey) const;

  // The lines of section List, sorted. A missing file is an empty list.
  std::vector<std::string> ReadDomainList() const;
  std::vector<std::string> ReadProjectList(std::string_view domain) const;

  // Count (written, never read) and the List lines, in one opening of the store.
  void SaveDomainList(const std::vector<std::string>& domains) const;
  void SaveProjectList(std::string_view domain, const std::vector<std::string>& projects) const;

  std::string ReadProjectValue(std::string_view domain, std::string_view projectKey,
                               std::string_view section, std::string_view key,
                               std::string_view defaultText) const;
  void WriteProjectValue(std::string_view domain, std::string_view projectKey,
                         std::string_view section, std::string_view key,
                         std::string_view value) const;

  // \data\domains\projects\ + domain, with its missing parents.
  void CreateDomainFolder(std::string_view domain) const;

 private:
  std::vector<std::string> ReadList(const std::string& file) const;
  void SaveList(const std::string& file, std::string_view countSection,
                const std::vector<std::string>& list) const;

  const TAppFolder& folder_;
};

// Lists are kept in alphabetical order ignoring letter case; names equal but for letter
// case keep a fixed order by their bytes.
void SortNames(std::vector<std::string>& names);

}  // namespace qs

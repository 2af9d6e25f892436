// The files of domains and projects: the domain list, one project list per domain and one
// file per project, all read and written through the INI store, one opening per call.
#pragma once

#include <functional>
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

  // Why a new domain or project cannot be kept in this folder, or an empty text. Besides
  // what NameProblem refuses: a domain whose list file would be the domain list itself
  // ("domains"), and names whose files (list, project file, histories, dated reports, and
  // the hidden temporary files they are written through) would be longer than the file
  // system or the store allow.
  std::string DomainProblem(std::string_view domain) const;
  std::string ProjectProblem(std::string_view domain, std::string_view listedName) const;

  // The lines of section List, sorted. A missing file is an empty list. A line that cannot
  // be turned into files here (see DomainProblem, ProjectProblem) is left out, and named in
  // `skipped` with its reason, so that one bad line never makes the rest unusable; it stays
  // in the file.
  std::vector<std::string> ReadDomainList(std::vector<std::string>* skipped = nullptr) const;
  std::vector<std::string> ReadProjectList(std::string_view domain,
                                           std::vector<std::string>* skipped = nullptr) const;
  // One read-change-write of a list, under the file's lock, on the lines the file holds at
  // that moment (another process may have changed them since they were read): adds or
  // removes one name and writes the count with the lines. Gives the list back as
  // Read...List does.
  std::vector<std::string> AddToDomainList(std::string_view domain) const;
  std::vector<std::string> RemoveFromDomainList(std::string_view domain) const;
  // `check` sees the lines before the name is added, under the lock, and may throw to
  // refuse it.
  std::vector<std::string> AddToProjectList(
      std::string_view domain, std::string_view listed,
      const std::function<void(const std::vector<std::string>&)>& check = {}) const;
  std::vector<std::string> RemoveFromProjectList(std::string_view domain,
                                                 std::string_view listed) const;

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
  std::vector<std::string> ChangeList(
      const std::string& file, std::string_view countSection, std::string_view name, bool add,
      const std::function<void(const std::vector<std::string>&)>& check = {}) const;
  std::vector<std::string> Usable(std::vector<std::string> lines, std::string_view domain,
                                  std::vector<std::string>* skipped) const;
  void SaveList(const std::string& file, std::string_view countSection,
                const std::vector<std::string>& list) const;

  const TAppFolder& folder_;
};

// Removes the stale temporary files of killed writes (RemoveStaleTemporaryFiles) from every
// folder the program writes its files in: the application folder, data, data\domains and
// each domain's project folder. Gives how many went.
int RemoveStaleTemporaryFiles(const TAppFolder& folder);

// The one message for the lines a list read left out.
std::string SkippedLinesText(const std::string& listFile, const std::vector<std::string>& skipped);

// Lists are kept in alphabetical order ignoring letter case; names equal but for letter
// case keep a fixed order by their bytes.
void SortNames(std::vector<std::string>& names);

}  // namespace qs

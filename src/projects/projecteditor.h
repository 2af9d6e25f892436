// The Projects page as behaviour: the domain and project lists, the editor's fields for the
// selected project, each written back to the project file the moment it changes, the
// counters, the history rows, and the commands that create and delete.
#pragma once

#include <QDate>
#include <QTime>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "projects/domainstore.h"
#include "projects/newproject.h"

namespace qs {

// The text fields of the editor, by their project keys, in the order they are loaded.
inline constexpr std::string_view kEditorTextKeys[] = {
    "url",      "title",    "description", "key1",  "catagory", "name",    "last",
    "email",    "alt_email", "company",    "address1", "address2", "city", "state",
    "country",  "zip",      "phone",       "fax",   "password",
};
// The options, by their project keys.
inline constexpr std::string_view kEditorOptionKeys[] = {
    "submitengines", "submitffa", "submitnetworks", "genreport", "emailreport", "scheduled",
};

enum class TDatabaseChoice { MainOnly = 0, IncludeCustom = 1, CustomOnly = 2 };

struct TCounter {
  int count = 0;
  bool green = true;
  bool operator==(const TCounter&) const = default;
};

// What the schedule file needs when a scheduled project's schedule fields change.
struct TScheduleFields {
  std::string domain, listedName;  // the listed name rebuilt from the ProjectKey
  QDate startDate, endDate;
  QTime bestTime;
  std::string daysBetween;
};

class TProjectEditor {
 public:
  TProjectEditor(TAppState& state, IDialogs& dialogs);

  // ---- lists and selection
  const std::vector<std::string>& Domains() const { return state_.domains; }
  const std::vector<std::string>& Projects() const { return state_.projects; }
  int SelectedDomain() const { return selectedDomain_; }
  int SelectedProject() const { return selectedProject_; }
  const std::string& CurrentDomain() const { return state_.currentDomain; }
  const std::string& CurrentProjectKey() const { return state_.currentProjectKey; }
  bool ProjectLoaded() const { return !state_.currentProjectKey.empty(); }

  // Reads the domain list (sorted) and selects its first domain.
  void LoadDomains();
  // Takes the lists the start-up read (its domain and first project selected) without
  // reading them again, and loads that project.
  void ShowStartupSelection();
  // Selects a domain by position (-1: none) and loads its project list.
  void SelectDomain(int index);
  // Empties the project list, reads the selected domain's, selects and loads the first.
  void LoadProjectList();
  // Selects a project by position and loads it. A stored date or time that cannot be read
  // throws ConversionError; the fields loaded before it stay.
  void SelectProject(int index);
  int IndexOfDomain(std::string_view name) const;
  int IndexOfProject(std::string_view listedName) const;
  // Another listed project of the current domain whose ProjectKey (so whose files) this name
  // would share ("/a/b" and "/a_b"), or an empty text.
  std::string ProjectSharingFileWith(std::string_view listedName) const;

  // Check marks of the project list (not stored).
  void SetChecked(std::string_view listedName, bool checked);
  bool IsChecked(std::string_view listedName) const { return checked_.count(std::string(listedName)) > 0; }

  // ---- the editor's fields
  const std::string& Text(std::string_view key) const;
  bool Option(std::string_view key) const;
  TDatabaseChoice DatabaseChoice() const { return databaseChoice_; }
  QDate StartDate() const { return startDate_; }
  QDate EndDate() const { return endDate_; }
  QTime BestTime() const { return bestTime_; }
  const std::string& DaysBetween() const { return daysBetween_; }
  // The earliest dates the two date fields take (invalid: no limit yet); a date left before
  // its earliest is stored as the earliest.
  QDate EarliestStartDate() const { return earliestStart_; }
  QDate EarliestEndDate() const { return earliestEnd_; }

  // Each writes its key into the project file at once (one WriteProjectValue). Without a
  // loaded project the field changes and nothing is written.
  void SetText(std::string_view key, std::string_view value);
  void SetOption(std::string_view key, bool checked);
  void SetDatabaseChoice(TDatabaseChoice choice);
  void LeaveStartDate(const QDate& date);
  void LeaveEndDate(const QDate& date);
  void LeaveBestTime(const QTime& time);
  void LeaveDaysBetween(std::string_view days);

  // ---- counters and the ranking keyword list
  TCounter TitleCounter() const;
  TCounter DescriptionCounter() const;
  TCounter KeywordsCounter() const;
  bool rankingPageCurrent = false;
  const std::vector<std::string>& RankingKeywords() const { return rankingKeywords_; }
  // Fills the keyword list from the keyword field again (the Ranking page became current).
  void RefillRankingKeywords();
  // While the Ranking page is current: the URL field changed (edited, or another project
  // loaded), and the keyword list was filled again.
  std::function<void(const std::string& url)> OnRankingUrl;
  std::function<void()> OnRankingKeywords;

  // ---- history
  const std::vector<std::string>& HistoryLines() const { return history_; }
  void ReloadHistory();

  // ---- commands
  // False (after message 174) when there is no domain to add a project to.
  bool MayCreateProject();
  void DeleteSelectedProject();
  void DeleteCheckedProjects();
  void DeleteAllProjects();
  void DeleteSelectedDomain(bool ask = true);
  void DeleteAllDomains();
  void ClearHistory();

  // Create domain and Create project of the wizards and the site import.
  void CreateDomain(const TNewProjectRecord& record);
  void CreateProject(const TNewProjectRecord& record);

  // ---- hooks for the meta tags and the scheduler
  std::function<void()> OnProjectLoaded;  // the meta tag selections of the loaded project
  std::function<void(bool scheduled)> OnScheduledChanged;  // the schedule option was clicked
  // A schedule field was left while the schedule option is checked.
  std::function<void(const TScheduleFields&)> OnScheduleFieldsChanged;
  // A schedule field was left: a running scheduler rebuilds its list.
  std::function<void()> OnScheduleFieldLeft;

  const TDomainStore& Store() const { return store_; }

 private:
  void ClearFields();
  void LoadProject();
  void Write(std::string_view key, std::string_view value);
  void ScheduleFieldLeft();
  void RemoveHistoryAndReports();
  void DeleteProjectAt(int index);
  void ReportSkipped(const std::string& list, const std::vector<std::string>& skipped);
  std::string Lookup(std::string_view key) const { return state_.languageTable.Lookup(key); }
  void RankingUrlChanged();

  TAppState& state_;
  IDialogs& dialogs_;
  TDomainStore store_;
  int selectedDomain_ = -1;
  int selectedProject_ = -1;
  std::set<std::string> checked_;

  std::vector<std::string> texts_;  // by kEditorTextKeys
  std::vector<bool> options_;       // by kEditorOptionKeys
  TDatabaseChoice databaseChoice_ = TDatabaseChoice::MainOnly;
  QDate startDate_, endDate_, earliestStart_, earliestEnd_;
  QTime bestTime_;
  std::string daysBetween_;
  std::vector<std::string> rankingKeywords_;
  std::vector<std::string> history_;
  bool deleting_ = false;  // while deleting, a project that cannot be loaded is no error
};

}  // namespace qs

#include "projects/projecteditor.h"

#include <algorithm>

#include "app/clock.h"
#include "app/errors.h"
#include "app/text.h"
#include "platform/filesystem.h"
#include "platform/regional.h"
#include "projects/history.h"
#include "projects/naming.h"
#include "store/biginifile.h"

namespace qs {
namespace {

template <size_t N>
int KeyIndex(const std::string_view (&keys)[N], std::string_view key) {
  for (size_t i = 0; i < N; ++i)
    if (keys[i] == key) return static_cast<int>(i);
  return -1;
}

int CodePoints(std::string_view text) {
  int n = 0;
  for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// Sets a flag for as long as it lives and puts the old value back.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

TProjectEditor::TProjectEditor(TAppState& state, IDialogs& dialogs)
    : state_(state), dialogs_(dialogs), store_(state.folder) {
  ClearFields();
}

// ---- lists and selection ------------------------------------------------------------------

void TProjectEditor::ReportSkipped(const std::string& list, const std::vector<std::string>& skipped) {
  if (!skipped.empty()) dialogs_.Message(SkippedLinesText(list, skipped), TMsgDlgType::Warning);
}

void TProjectEditor::LoadDomains() {
  std::vector<std::string> skipped;
  state_.domains = store_.ReadDomainList(&skipped);
  ReportSkipped(store_.DomainListFile(), skipped);
  SelectDomain(state_.domains.empty() ? -1 : 0);
}

void TProjectEditor::ShowStartupSelection() {
  checked_.clear();
  selectedDomain_ = IndexOfDomain(state_.currentDomain);
  // A start-up that stopped early leaves what it loaded so far: possibly no domain or list.
  SelectProject(selectedDomain_ >= 0 && !state_.projects.empty() ? 0 : -1);
}

void TProjectEditor::SelectDomain(int index) {
  selectedDomain_ = index;
  LoadProjectList();
}

void TProjectEditor::LoadProjectList() {
  state_.projects.clear();
  checked_.clear();
  selectedProject_ = -1;
  if (state_.domains.empty() || selectedDomain_ < 0) {
    state_.currentProjectKey.clear();
    ClearFields();
    return;
  }
  state_.currentDomain = state_.domains[static_cast<size_t>(selectedDomain_)];
  std::vector<std::string> skipped;
  state_.projects = store_.ReadProjectList(state_.currentDomain, &skipped);
  ReportSkipped(store_.ProjectListFile(state_.currentDomain), skipped);
  if (!state_.projects.empty()) {
    SelectProject(0);
  } else {
    state_.currentProjectKey.clear();
    ClearFields();
  }
}

void TProjectEditor::SelectProject(int index) {
  selectedProject_ = index;
  if (index < 0) {
    state_.currentProjectKey.clear();
    ClearFields();
    return;
  }
  LoadProject();
}

int TProjectEditor::IndexOfDomain(std::string_view name) const {
  auto it = std::find(state_.domains.begin(), state_.domains.end(), name);
  return it == state_.domains.end() ? -1 : static_cast<int>(it - state_.domains.begin());
}

int TProjectEditor::IndexOfProject(std::string_view listedName) const {
  auto it = std::find(state_.projects.begin(), state_.projects.end(), listedName);
  return it == state_.projects.end() ? -1 : static_cast<int>(it - state_.projects.begin());
}

void TProjectEditor::SetChecked(std::string_view listedName, bool checked) {
  if (checked)
    checked_.insert(std::string(listedName));
  else
    checked_.erase(std::string(listedName));
}

// ---- loading ------------------------------------------------------------------------------

void TProjectEditor::ClearFields() {
  texts_.assign(std::size(kEditorTextKeys), std::string());
  options_ = {true, true, true, true, false, false};
  databaseChoice_ = TDatabaseChoice::MainOnly;
  startDate_ = endDate_ = clock::Today();
  bestTime_ = clock::TimeOfDay();
  daysBetween_ = "30";
  history_ = ReadHistoryLines(state_.folder.Path(kDefaultHistoryFile));
  RefillRankingKeywords();
}

void TProjectEditor::LoadProject() {
  const std::string& listed = state_.projects[static_cast<size_t>(selectedProject_)];
  state_.currentProjectKey = ProjectKeyOf(listed);
  const std::string& key = state_.currentProjectKey;
  ClearFields();
  try {
    TBigIniFile ini(store_.ProjectFile(state_.currentDomain, key));
    for (size_t i = 0; i < std::size(kEditorTextKeys); ++i)
      texts_[i] = ini.ReadText(key, kEditorTextKeys[i], "");
    options_[0] = ini.ReadFlag(key, "submitengines", true);
    options_[1] = ini.ReadFlag(key, "submitffa", true);
    options_[2] = ini.ReadFlag(key, "submitnetworks", true);
    const std::string choice = ini.ReadText(key, "submitcustom", "");
    databaseChoice_ = choice == "1"   ? TDatabaseChoice::IncludeCustom
                      : choice == "2" ? TDatabaseChoice::CustomOnly
                                      : TDatabaseChoice::MainOnly;
    options_[4] = ini.ReadFlag(key, "emailreport", false);
    options_[3] = ini.ReadFlag(key, "genreport", true);
    options_[5] = ini.ReadFlag(key, "scheduled", false);
    // A missing or empty date is today and a missing or empty time now; anything else must
    // read in the regional format.
    if (auto t = ini.ReadText(key, "startdate", ""); !t.empty()) startDate_ = regional::ParseDate(t);
    if (auto t = ini.ReadText(key, "enddate", ""); !t.empty()) endDate_ = regional::ParseDate(t);
    if (auto t = ini.ReadText(key, "besttime", ""); !t.empty()) bestTime_ = regional::ParseTime(t);
    daysBetween_ = ini.ReadText(key, "daysbetween", "30");
    ini.Close();
  } catch (const ConversionError&) {
    RefillRankingKeywords();
    if (!deleting_) throw;
    return;
  }
  RefillRankingKeywords();
  RankingUrlChanged();
  ReloadHistory();
  if (OnProjectLoaded) OnProjectLoaded();
}

void TProjectEditor::ReloadHistory() {
  if (!ProjectLoaded()) {
    history_ = ReadHistoryLines(state_.folder.Path(kDefaultHistoryFile));
    return;
  }
  const std::string own = store_.HistoryFile(state_.currentDomain, state_.currentProjectKey);
  history_ = ReadHistoryLines(FileExists(own) ? own : state_.folder.Path(kDefaultHistoryFile));
}

// ---- fields and writing back --------------------------------------------------------------

const std::string& TProjectEditor::Text(std::string_view key) const {
  static const std::string none;
  int i = KeyIndex(kEditorTextKeys, key);
  return i < 0 ? none : texts_[static_cast<size_t>(i)];
}

bool TProjectEditor::Option(std::string_view key) const {
  int i = KeyIndex(kEditorOptionKeys, key);
  return i >= 0 && options_[static_cast<size_t>(i)];
}

void TProjectEditor::Write(std::string_view key, std::string_view value) {
  // Without a loaded project there is no file to write to: the field only changes.
  if (!ProjectLoaded()) return;
  store_.WriteProjectValue(state_.currentDomain, state_.currentProjectKey,
                           state_.currentProjectKey, key, value);
}

void TProjectEditor::SetText(std::string_view key, std::string_view value) {
  int i = KeyIndex(kEditorTextKeys, key);
  if (i < 0) throw NameError("The project has no text field \"" + std::string(key) + "\".");
  texts_[static_cast<size_t>(i)] = std::string(value);
  Write(key, value);
  if (key == "key1") RefillRankingKeywords();
  if (key == "url") RankingUrlChanged();
}

void TProjectEditor::SetOption(std::string_view key, bool checked) {
  int i = KeyIndex(kEditorOptionKeys, key);
  if (i < 0) throw NameError("The project has no option \"" + std::string(key) + "\".");
  options_[static_cast<size_t>(i)] = checked;
  Write(key, checked ? "-1" : "0");
  if (key == "scheduled" && OnScheduledChanged) OnScheduledChanged(checked);
}

void TProjectEditor::SetDatabaseChoice(TDatabaseChoice choice) {
  databaseChoice_ = choice;
  Write("submitcustom", std::to_string(static_cast<int>(choice)));
}

void TProjectEditor::LeaveStartDate(const QDate& date) {
  // A date is typed whole and taken when the field is left: one before the earliest date
  // becomes the earliest.
  startDate_ = earliestStart_.isValid() && date < earliestStart_ ? earliestStart_ : date;
  Write("startdate", regional::FormatDate(startDate_));
  earliestStart_ = clock::Today();
  earliestEnd_ = startDate_;
  // The end date cannot lie before the start: when it does, it moves with the start and is
  // written, so the file and the schedule entry keep what the picker shows.
  if (endDate_.isValid() && endDate_ < earliestEnd_) {
    endDate_ = earliestEnd_;
    Write("enddate", regional::FormatDate(endDate_));
  }
  ScheduleFieldLeft();
}

void TProjectEditor::LeaveEndDate(const QDate& date) {
  endDate_ = earliestEnd_.isValid() && date < earliestEnd_ ? earliestEnd_ : date;
  Write("enddate", regional::FormatDate(endDate_));
  earliestEnd_ = startDate_;
  ScheduleFieldLeft();
}

void TProjectEditor::LeaveBestTime(const QTime& time) {
  bestTime_ = time;
  Write("besttime", regional::FormatTime(time));
  ScheduleFieldLeft();
}

void TProjectEditor::LeaveDaysBetween(std::string_view days) {
  std::string digits;
  for (char c : days)
    if (c >= '0' && c <= '9') digits += c;  // the field takes digits only
  daysBetween_ = digits;
  Write("daysbetween", digits);
  ScheduleFieldLeft();
}

void TProjectEditor::ScheduleFieldLeft() {
  if (Option("scheduled") && ProjectLoaded() && OnScheduleFieldsChanged)
    OnScheduleFieldsChanged({state_.currentDomain, ListedNameOfKey(state_.currentProjectKey),
                             startDate_, endDate_, bestTime_, daysBetween_});
  if (OnScheduleFieldLeft) OnScheduleFieldLeft();
}

// ---- counters -----------------------------------------------------------------------------

TCounter TProjectEditor::TitleCounter() const {
  int n = CodePoints(Text("title"));
  return {n, n <= 60};
}

TCounter TProjectEditor::DescriptionCounter() const {
  int n = CodePoints(Text("description"));
  return {n, n <= 250};
}

TCounter TProjectEditor::KeywordsCounter() const {
  const std::string& k = Text("key1");
  int n = k.empty() ? 0 : static_cast<int>(std::count(k.begin(), k.end(), ',')) + 1;
  return {n, n <= 250};
}

void TProjectEditor::RefillRankingKeywords() {
  if (!rankingPageCurrent) return;
  rankingKeywords_.clear();
  const std::string& k = Text("key1");
  for (size_t start = 0; !k.empty();) {
    size_t comma = k.find(',', start);
    rankingKeywords_.emplace_back(Trim(std::string_view(k).substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (OnRankingKeywords) OnRankingKeywords();
}

void TProjectEditor::RankingUrlChanged() {
  if (rankingPageCurrent && OnRankingUrl) OnRankingUrl(Text("url"));
}

// ---- commands -----------------------------------------------------------------------------

bool TProjectEditor::MayCreateProject() {
  if (!state_.domains.empty()) return true;
  dialogs_.Message(Lookup("174"), TMsgDlgType::Error);
  return false;
}

void TProjectEditor::RemoveHistoryAndReports() {
  // Only report files of this domain's folder are removed, whatever a history line names.
  const std::string folder = store_.ProjectFolder(state_.currentDomain) + "/";
  for (size_t i = 1; i < history_.size(); ++i) {
    const std::string file = ResolvedReportPath(state_.folder, ReportFileOf(history_[i]));
    if (file.size() > folder.size() && file.compare(0, folder.size(), folder) == 0 &&
        file.find('/', folder.size()) == std::string::npos && file.find("..") == std::string::npos)
      RemoveFile(file);
  }
  RemoveFile(store_.HistoryFile(state_.currentDomain, state_.currentProjectKey));
  RemoveFile(store_.RankHistoryFile(state_.currentDomain, state_.currentProjectKey));
  history_ = ReadHistoryLines(state_.folder.Path(kDefaultHistoryFile));
}

void TProjectEditor::DeleteProjectAt(int index) {
  const std::string listed = state_.projects[static_cast<size_t>(index)];
  const std::string key = ProjectKeyOf(listed);
  selectedProject_ = index;
  state_.currentProjectKey = key;
  ReloadHistory();  // the rows of this project name its report files

  const int last = static_cast<int>(state_.projects.size()) - 1;
  const int next = index == last ? index - 1 : index;
  RemoveFile(store_.ProjectFile(state_.currentDomain, key));
  RemoveHistoryAndReports();
  checked_.erase(listed);
  // The list as the file holds it now, less this project: another process may have added one.
  state_.projects = store_.RemoveFromProjectList(state_.currentDomain, listed);
  if (state_.projects.empty()) {
    selectedProject_ = -1;
    state_.currentProjectKey.clear();
    ClearFields();
  } else {
    SelectProject(std::clamp(next, 0, static_cast<int>(state_.projects.size()) - 1));
  }
}

void TProjectEditor::DeleteSelectedProject() {
  if (selectedProject_ < 0 || selectedProject_ >= static_cast<int>(state_.projects.size())) {
    dialogs_.Message(Lookup("noprojectselect"), TMsgDlgType::Error);
    return;
  }
  DeleteProjectAt(selectedProject_);
}

void TProjectEditor::DeleteCheckedProjects() {
  const std::vector<std::string> names = state_.projects;
  FlagScope deleting(deleting_);
  for (const auto& name : names)
    if (int i = IndexOfProject(name); i >= 0 && IsChecked(name)) DeleteProjectAt(i);
}

void TProjectEditor::DeleteAllProjects() {
  if (!dialogs_.Ask(Lookup("deleteallpro"))) return;
  const std::vector<std::string> names = state_.projects;
  FlagScope deleting(deleting_);
  for (const auto& name : names) {
    // Another process may have removed it meanwhile.
    if (int i = IndexOfProject(name); i >= 0) DeleteProjectAt(i);
  }
}

void TProjectEditor::DeleteSelectedDomain(bool ask) {
  if (selectedDomain_ < 0 || selectedDomain_ >= static_cast<int>(state_.domains.size())) {
    dialogs_.Message(Lookup("nodomainselect"), TMsgDlgType::Error);
    return;
  }
  if (ask && !dialogs_.Ask(Lookup("deletedomain"))) return;
  FlagScope deleting(deleting_);

  const int index = selectedDomain_;
  const int last = static_cast<int>(state_.domains.size()) - 1;
  const std::string domain = state_.domains[static_cast<size_t>(index)];
  state_.currentDomain = domain;
  const std::vector<std::string> names = state_.projects;
  for (const auto& name : names) {
    // Another process may have removed it meanwhile.
    if (int i = IndexOfProject(name); i >= 0) DeleteProjectAt(i);
  }
  RemoveFile(store_.ProjectListFile(domain));
  state_.domains = store_.RemoveFromDomainList(domain);
  if (state_.domains.empty()) {
    selectedDomain_ = -1;
    LoadProjectList();
  } else {
    SelectDomain(std::clamp(index == last ? index - 1 : index, 0,
                            static_cast<int>(state_.domains.size()) - 1));
  }
}

void TProjectEditor::DeleteAllDomains() {
  if (!dialogs_.Ask(Lookup("deletedomainall"))) return;
  const std::vector<std::string> names = state_.domains;
  FlagScope deleting(deleting_);
  for (const auto& name : names) {
    SelectDomain(IndexOfDomain(name));
    DeleteSelectedDomain(false);
  }
}

void TProjectEditor::ClearHistory() {
  if (selectedProject_ < 0 || !ProjectLoaded()) return;
  ReloadHistory();
  RemoveHistoryAndReports();
}

// ---- creating -----------------------------------------------------------------------------

void TProjectEditor::CreateDomain(const TNewProjectRecord& record) {
  const std::string& domain = record.domain;
  CheckDomainName(domain);
  if (std::string problem = store_.DomainProblem(domain); !problem.empty())
    throw NameError("The domain name \"" + domain + "\" cannot be used: " + problem + ".");
  // The domain's folder first (with data/domains if a new application folder lacks it), so
  // the domain list never names a domain without one.
  store_.CreateDomainFolder(domain);
  state_.domains = store_.AddToDomainList(domain);
  SelectDomain(IndexOfDomain(domain));
}

std::string TProjectEditor::ProjectSharingFileWith(std::string_view listedName) const {
  const std::string key = ProjectKeyOf(listedName);
  for (const std::string& other : state_.projects)
    if (other != listedName && ProjectKeyOf(other) == key) return other;
  return {};
}

void TProjectEditor::CreateProject(const TNewProjectRecord& record) {
  const std::string key = ProjectKeyOf(record.listedName);
  CheckProjectKey(key);
  // Everything that could refuse the project is checked before anything is written.
  if (std::string problem = store_.ProjectProblem(record.domain, record.listedName);
      !problem.empty())
    throw NameError("The project name \"" + record.listedName + "\" cannot be used: " + problem +
                    ".");
  // Under the list's lock, so that another process adding the other name at the same moment
  // cannot slip between the check and the change.
  state_.projects = store_.AddToProjectList(
      record.domain, record.listedName, [&](const std::vector<std::string>& lines) {
        for (const std::string& other : lines)
          if (other != record.listedName && ProjectKeyOf(other) == key)
            throw NameError(Lookup("sharedprojectfile") + " (" + other + ")");
      });
  const TContactData& c = record.contact;
  const std::pair<std::string_view, const std::string*> keys[] = {
      {"url", &record.url},          {"title", &record.title},     {"email", &c.email},
      {"alt_email", &c.altEmail},    {"description", &record.description},
      {"catagory", &c.category},     {"name", &c.firstName},       {"last", &c.lastName},
      {"company", &c.company},       {"address1", &c.address1},    {"address2", &c.address2},
      {"country", &c.country},       {"city", &c.city},            {"state", &c.state},
      {"phone", &c.phone},           {"fax", &c.fax},              {"zip", &c.zip},
      {"key1", &record.keywords},    {"password", &c.password},
  };
  TBigIniFile ini(store_.ProjectFile(record.domain, key));
  for (auto [name, value] : keys) ini.WriteText(key, name, *value);
  ini.WriteText(key, "submitcustom", "0");
  for (const char* flag : {"submitengines", "submitffa", "submitnetworks", "genreport"})
    ini.WriteText(key, flag, "-1");
  ini.Close();
  SelectProject(IndexOfProject(record.listedName));
}

}  // namespace qs

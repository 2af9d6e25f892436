#include "submit/runcontrol.h"

#include <QBuffer>
#include <algorithm>
#include <exception>

#include "app/clock.h"
#include "app/settings.h"
#include "engines/enginecatalogue.h"
#include "net/httpcli.h"
#include "net/queuedcall.h"
#include "platform/internetconnection.h"
#include "platform/regional.h"
#include "projects/domainstore.h"
#include "projects/naming.h"
#include "reports/reporttemplate.h"
#include "store/biginifile.h"
#include "submit/classification.h"
#include "submit/submithistory.h"

namespace qs {

namespace {
constexpr int kScanEvery = 16;  // the tick count returns to 0 here: a scan every 17th tick
constexpr int kBusyFrames = 8;
}  // namespace

struct TRunControl::TLiveRequest {
  std::unique_ptr<THttpCli> client;
  size_t row = 0;
  uint64_t generation = 0;
  int status = 0;
  std::string text;
  bool timedOut = false;  // aborted by a scan; the next scans pass it over
  QByteArray bodyBytes;
  QBuffer body;
};

TRunControl::TRunControl(TAppState& state, TEngineCatalogue& catalogue,
                         TConnectionSettings& connection, IDialogs& dialogs,
                         IInternetConnection& internet)
    : state_(state),
      catalogue_(catalogue),
      connection_(connection),
      dialogs_(dialogs),
      internet_(internet),
      queue_(state.folder, state.languageTable, catalogue),
      builder_(state.folder) {
  timer_.setInterval(100);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

TRunControl::~TRunControl() {
  alive_.reset();
  live_.clear();
}

void TRunControl::SetButtons(TRunButtons b) {
  buttons_ = b;
  if (OnButtonsChanged) OnButtonsChanged();
}

void TRunControl::Changed() {
  if (OnQueueChanged) OnQueueChanged();
}

void TRunControl::ClearRows() {
  rows_.clear();
  texts_.Clear();
  decidedWeight_ = 0;
  if (OnRowsCleared) OnRowsCleared();
}

std::string TRunControl::ProgressText() const {
  if (current_ < 0) return {};
  const RunEntry& e = queue_.Entries()[static_cast<size_t>(current_)];
  if (e.state != TEntryState::UnderPromotion && e.state != TEntryState::Paused) return {};
  return e.DisplayText() + ": " + std::to_string(decidedWeight_) + " / " +
         std::to_string(e.expectedTotal);
}

// ---- enqueue and cancel

void TRunControl::AddChecked(const std::string& domain, const std::vector<std::string>& projects,
                             const std::function<bool(const std::string&)>& checked) {
  const TDomainStore store(state_.folder);
  const QDate today = clock::Today();
  bool added = false;
  for (const std::string& project : projects) {
    if (queue_.Contains(domain, project)) continue;
    if (!checked(project)) continue;
    const std::string key = ProjectKeyOf(project);
    const std::string lastsub = store.ReadProjectValue(domain, key, key, "lastsub", "");
    if (StoredDateOr(lastsub, today.addYears(-1)) == today) {
      dialogs_.Message(state_.languageTable.Lookup("skippro"), TMsgDlgType::Error);
      continue;
    }
    queue_.Append(queue_.MakeEntry(domain, project, false));
    added = true;
    total_ = static_cast<int>(queue_.Entries().size());
    TRunButtons b = buttons_;
    b.start = b.reset = true;
    SetButtons(b);
  }
  total_ = static_cast<int>(queue_.Entries().size());
  if (added) Changed();
}

void TRunControl::AddScheduled(const std::string& domain, const std::string& project) {
  queue_.Append(queue_.MakeEntry(domain, project, true));
  total_ = static_cast<int>(queue_.Entries().size());
  TRunButtons b = buttons_;
  b.start = b.reset = true;
  SetButtons(b);
  Changed();
}

void TRunControl::Cancel(size_t index) {
  auto& entries = queue_.Entries();
  if (index >= entries.size()) return;
  const TEntryState s = entries[index].state;
  if (s != TEntryState::Waiting && s != TEntryState::WaitingScheduled) return;
  queue_.Remove(index);
  if (current_ > static_cast<int>(index)) --current_;
  total_ = static_cast<int>(entries.size());
  if (total_ == completed_) {
    TRunButtons b = buttons_;
    b.start = b.reset = false;
    SetButtons(b);
  }
  Changed();
}

// ---- start, pause, stop, reset

void TRunControl::Start() {
  if (!buttons_.start) return;
  if (!TConnectionSettings::CheckInternet(internet_, &dialogs_, state_.languageTable)) return;
  {
    TBiggerIniFile ini(state_.folder.Path(kSettingsFile));
    TSettings settings(ini, state_.folder);
    const std::string update = settings.Text(setting::kUpdate);
    ini.Close();
    if (update == "0") {
      if (dialogs_.Ask(state_.languageTable.Lookup("170")) && OnUpdateDatabase) OnUpdateDatabase();
      return;
    }
  }
  proxy_ = connection_.ReadProxy();
  if (buttons_.stop) {  // paused: resume
    SetButtons({false, true, true, false});
    if (current_ >= 0) {
      RunEntry& e = CurrentEntry();
      e.state = TEntryState::UnderPromotion;
      e.lines[kStatusLine] = state_.languageTable.Lookup("136");
      Changed();
    }
    StartTimer();
    ScheduleWalk();
    return;
  }
  SetButtons({false, true, true, false});
  ChooseNext();
}

void TRunControl::Pause() {
  if (!buttons_.pause) return;
  SetButtons({true, false, true, false});
  if (current_ >= 0) {
    RunEntry& e = CurrentEntry();
    e.state = TEntryState::Paused;
    e.lines[kStatusLine] = state_.languageTable.Lookup("129");
    Changed();
  }
  StopTimer();
}

void TRunControl::Stop() {
  if (!buttons_.stop) return;
  StopCurrent();
}

void TRunControl::StopCurrent() {
  if (OnTrayLook) OnTrayLook(false);
  StopTimer();
  ++completed_;
  if (current_ >= 0) {
    RunEntry& e = CurrentEntry();
    e.state = TEntryState::Stopped;
    e.lines[kStatusLine] = state_.languageTable.Lookup("131");
    Changed();
    CompletionActions(e);
  }
  scheduledRun_ = false;
  SetButtons({total_ != completed_, false, false, true});
  AbortLive(404, state_.languageTable.Lookup("130"), false);
  if (current_ >= 0 && OnEntryEnded) OnEntryEnded(CurrentEntry());
}

void TRunControl::Reset() {
  if (!buttons_.reset && (buttons_.start || buttons_.pause || buttons_.stop)) return;
  ++generation_;  // ends of requests still under way change nothing from here on
  AbortLive(404, state_.languageTable.Lookup("130"), true);
  StopTimer();
  queue_.Clear();
  ClearRows();
  current_ = -1;
  completed_ = total_ = inFlight_ = 0;
  scheduledRun_ = false;
  walkTable_ = TWalkTable::Done;
  SetButtons({});
  Changed();
}

void TRunControl::AbortLive(int status, const std::string& text, bool dropEnds) {
  // Abort() queues each request's end; collect first, the list does not change here.
  std::vector<TLiveRequest*> targets;
  for (auto& r : live_)
    if (dropEnds || r->generation == generation_) targets.push_back(r.get());
  for (TLiveRequest* r : targets) {
    r->status = status;
    r->text = text;
    r->client->Abort();
  }
}

// ---- the walk

void TRunControl::ChooseNext() {
  inFlight_ = 0;
  const int next = queue_.NextWaiting();
  if (next < 0) return;
  ++generation_;
  current_ = next;
  RunEntry& e = CurrentEntry();
  scheduledRun_ = e.state == TEntryState::WaitingScheduled;
  if (OnTrayLook) OnTrayLook(scheduledRun_);
  e.state = TEntryState::UnderPromotion;
  e.lines[kStatusLine] = queue_.StatusText(TEntryState::UnderPromotion, scheduledRun_);
  e.ok = e.failed = e.timeout = 0;
  ClearRows();
  // Room for a row per record at most, taken at once: the rows are never copied to a larger
  // place while the run grows (memory not written to is not used).
  size_t records = 0;
  for (TSdfDataSet* t : {&catalogue_.EnginesTable, &catalogue_.CustomTable})
    if (t->Active()) records += static_cast<size_t>(std::max(0, t->RecordCount()));
  rows_.reserve(records);
  Changed();
  StartTimer();
  for (TSdfDataSet* t : {&catalogue_.EnginesTable, &catalogue_.CustomTable})
    if (t->Active()) t->First();
  walkTable_ = e.mode == DatabaseMode::CustomOnly ? TWalkTable::Custom : TWalkTable::Main;
  ScheduleWalk();
}

void TRunControl::ScheduleWalk() {
  if (walkPending_) return;
  walkPending_ = true;
  QueueCall(alive_, [this] {
    walkPending_ = false;
    WalkStep();
  });
}

void TRunControl::WalkStep() {
  if (!Active() || current_ < 0) return;
  if (inFlight_ >= connection_.Ports().Value()) return;  // the next answer resumes the walk
  const RunEntry& e = CurrentEntry();
  if (walkTable_ == TWalkTable::Main &&
      (!catalogue_.EnginesTable.Active() || catalogue_.EnginesTable.Eof())) {
    walkTable_ = e.mode == DatabaseMode::MainThenCustom ? TWalkTable::Custom : TWalkTable::Done;
  }
  if (walkTable_ == TWalkTable::Custom &&
      (!catalogue_.CustomTable.Active() || catalogue_.CustomTable.Eof())) {
    walkTable_ = TWalkTable::Done;
  }
  if (walkTable_ == TWalkTable::Done) {
    if (inFlight_ == 0) EndEntry();
    return;
  }
  try {
    if (walkTable_ == TWalkTable::Main)
      VisitRecord(catalogue_.EnginesTable, TEngineTable::Main);
    else
      VisitRecord(catalogue_.CustomTable, TEngineTable::Custom);
  } catch (const std::exception& x) {
    // A project file that cannot be read ends the entry as Stop would: the rows so far are
    // reported and recorded, and the run goes on with the next Start.
    dialogs_.Message(x.what(), TMsgDlgType::Error);
    StopCurrent();
    return;
  }
  ScheduleWalk();
}

void TRunControl::VisitRecord(TSdfDataSet& table, TEngineTable from) {
  const RunEntry& e = CurrentEntry();
  auto column = [&](std::string_view name) {
    const int i = table.FieldIndex(name);
    return i < 0 ? std::string() : table.Fields(i).AsString();
  };
  const std::string type = column("enginetype");
  if (!IsVisited(e.lines[kKindsLine], type)) {
    table.Next();
    return;
  }
  const int64_t now = clock::NowMSecs();
  const TStamp& stamp = StampOf(now);
  ActivityRow row;
  row.engine = column("e_name");
  row.url = column("e_url");
  row.type = texts_.Intern(type);
  row.count = texts_.Intern(column("e_count"));
  row.startTime = stamp.time;
  row.date = stamp.dateTime;
  row.started = now;
  rows_.push_back(std::move(row));
  const size_t index = rows_.size() - 1;
  if (OnRowAdded) OnRowAdded(index);
  TBuiltRequest request;
  try {
    request = builder_.Build(e.domain, e.project, table, from, stamp.date);
  } catch (...) {
    table.Next();
    throw;
  }
  table.Next();
  if (!request.due) {
    rows_[index].result = texts_.Intern(state_.languageTable.Lookup("135"));
    rows_[index].image = TRowImage::Skipped;
    decidedWeight_ += RowCount(rows_[index].count);
    if (OnRowDecided) OnRowDecided(index);
    return;
  }
  Send(index, request);
}

void TRunControl::Send(size_t row, const TBuiltRequest& request) {
  ++inFlight_;
  auto live = std::make_unique<TLiveRequest>();
  TLiveRequest* r = live.get();
  r->row = row;
  r->generation = generation_;
  r->client = std::make_unique<THttpCli>();
  THttpCli& cli = *r->client;
  cli.SetTag(static_cast<int>(row));
  TConnectionSettings::ApplyProxyTo(proxy_, cli);
  cli.SetURL(request.url);
  cli.SetReference(request.referrer);
  cli.OnHeaderEnd = [this, r](THttpCli& c) { HeaderEnd(*r, c); };
  cli.OnRequestDone = [this, r](THttpCli& c, THttpRequest, int error) {
    // A secure connection that failed has no answer header, so it stays a request without an
    // answer (status 0, Failed); its row tells why instead of "Could not resolve to host".
    if (r->status == 0 && error >= http_error::kTlsUntrusted && error <= http_error::kTlsSetup) r->text = c.ReasonPhrase();
    RequestDone(r);
  };
  rows_[row].image = TRowImage::UnderWay;
  live_.push_back(std::move(live));
  try {
    if (request.post) {
      r->bodyBytes = QByteArray(request.body.data(), static_cast<qsizetype>(request.body.size()));
      r->body.setBuffer(&r->bodyBytes);
      r->body.open(QIODevice::ReadOnly);
      cli.SetSendStream(&r->body);
      cli.Post();
    } else {
      cli.Get();
    }
  } catch (const THttpCliError&) {
    // Never started, so no end will come: it ends here as a request without an answer.
    live_.pop_back();
    --inFlight_;
    Classify(row, 0, {});
  }
}

void TRunControl::HeaderEnd(TLiveRequest& request, THttpCli& client) {
  const TRequestResult r =
      HeaderEndResult(client.StatusCode(), client.ReasonPhrase(), state_.languageTable);
  request.status = r.status;
  request.text = r.text;
  client.Abort();
}

void TRunControl::RequestDone(TLiveRequest* request) {
  std::unique_ptr<TLiveRequest> held;
  for (auto it = live_.begin(); it != live_.end(); ++it) {
    if (it->get() == request) {
      held = std::move(*it);
      live_.erase(it);
      break;
    }
  }
  if (!held) return;
  if (held->generation != generation_) return;  // an earlier entry's request, or one Reset left
  --inFlight_;
  Classify(held->row, held->status, std::move(held->text));
  // `held` frees the client here, inside its own request-done event, which it allows.
  ScheduleWalk();
}

void TRunControl::Classify(size_t index, int status, std::string text) {
  if (current_ < 0 || index >= rows_.size()) return;
  RunEntry& e = CurrentEntry();
  ActivityRow& row = rows_[index];
  const long long count = RowCount(row.count);
  decidedWeight_ += count;
  switch (ClassOf(status)) {
    case TResultClass::Ok:
      row.image = TRowImage::Ok;
      e.ok += count;
      e.lines[kOkLine] = queue_.OkLine(e.ok);
      break;
    case TResultClass::Timeout:
      row.image = TRowImage::TimedOut;
      e.timeout += count;
      e.lines[kTimeoutLine] = queue_.TimeoutLine(e.timeout);
      break;
    case TResultClass::Failed:
      row.image = TRowImage::Failed;
      e.failed += count;
      e.lines[kFailedLine] = queue_.FailedLine(e.failed);
      break;
  }
  if (status == 0 && text.empty()) text = state_.languageTable.Lookup("132");
  row.result = texts_.Intern(text);
  if (OnRowDecided) OnRowDecided(index);
  Changed();
}

void TRunControl::EndEntry() {
  ++completed_;
  RunEntry& e = CurrentEntry();
  e.state = TEntryState::Complete;
  e.lines[kStatusLine] = state_.languageTable.Lookup("106");
  Changed();
  CompletionActions(e);
  scheduledRun_ = false;
  if (OnTrayLook) OnTrayLook(false);
  if (total_ == completed_) {
    SetButtons({false, false, false, true});
    StopTimer();
  }
  if (OnEntryEnded) OnEntryEnded(CurrentEntry());
  ChooseNext();
}

void TRunControl::CompletionActions(RunEntry& entry) {
  const QDate today = clock::Today();
  const std::string key = ProjectKeyOf(entry.project);
  const TSubmitHistory history(state_.folder, state_.languageTable);
  // Each write is whole (a rename), and they come in this order so that a process ended
  // between two of them leaves files the next start reads and a project that is not sent
  // twice: the dates first (the project is no longer due today), then the report, then the
  // history line, which links to the report and so never names one that is not there.
  // A write that fails is shown and remembered; the others are still made.
  auto write = [&](TCompletionStep step, const std::function<void()>& action) {
    if (OnCompletionStep && !OnCompletionStep(step)) return false;
    try {
      action();
    } catch (const std::exception& x) {
      entry.completionErrors.emplace_back(x.what());
      dialogs_.Message(x.what(), TMsgDlgType::Error);
    }
    return true;
  };
  std::string reportPath;
  const bool finished =
      write(TCompletionStep::Dates, [&] { history.MoveDates(entry.domain, key, today); }) &&
      write(TCompletionStep::Report,
            [&] {
              if (!entry.report) return;
              // The history line then says no report was written if this throws.
              reportPath = TReportWriter(state_.folder, state_.languageTable, state_.report)
                               .WriteReport(entry, rows_, today);
              if (OnReportWritten) OnReportWritten(reportPath);
            }) &&
      write(TCompletionStep::History, [&] {
        entry.historyFile =
            history.AppendHistoryLine(entry.domain, key, scheduledRun_, reportPath, today);
      });
  if (!finished) return;
  if (scheduledRun_ && OnScheduledListRebuild) OnScheduledListRebuild();
  if (state_.currentDomain == entry.domain && state_.currentProjectKey == key && OnReloadHistory)
    OnReloadHistory();
}

const TRunControl::TStamp& TRunControl::StampOf(int64_t msecs) {
  const int64_t second = msecs >= 0 ? msecs / 1000 : (msecs - 999) / 1000;
  const QLocale locale;
  if (second != stamp_.second || !(locale == stamp_.locale)) {
    // The formats have no field finer than a second.
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(msecs);
    const std::string time = regional::FormatTime(moment.time());
    stamp_.second = second;
    stamp_.locale = locale;
    stamp_.date = moment.date();
    stamp_.time = TSharedText(time);
    stamp_.dateTime = TSharedText(regional::FormatDate(moment.date()) + " " + time);
  }
  return stamp_;
}

// ---- the busy timer and the time-out scan

void TRunControl::StartTimer() {
  if (!timerRunning_ && OnBusyIndicator) OnBusyIndicator(true, frame_);
  timerRunning_ = true;
  if (ownTimer_) timer_.start();
}

void TRunControl::StopTimer() {
  if (timerRunning_ && OnBusyIndicator) OnBusyIndicator(false, frame_);
  timerRunning_ = false;
  timer_.stop();
}

void TRunControl::Tick() {
  if (!timerRunning_) return;
  frame_ = (frame_ + 1) % kBusyFrames;
  if (OnBusyIndicator) OnBusyIndicator(true, frame_);
  if (tickCount_ < kScanEvery) {
    ++tickCount_;
    return;
  }
  tickCount_ = 0;
  Scan();
}

void TRunControl::Scan() {
  // Rows keep the whole moment they were made, so a request under way across midnight
  // reaches its deadline like any other.
  const int64_t now = clock::NowMSecs();
  const int64_t timeout = connection_.Timeout().Value();
  for (auto& r : live_) {
    if (r->generation != generation_ || r->timedOut || r->row >= rows_.size()) continue;
    if (rows_[r->row].started + timeout * 1000 < now) {
      r->timedOut = true;
      r->status = 408;
      r->text = state_.languageTable.Lookup("128");
      r->client->Abort();
      return;
    }
  }
}

}  // namespace qs

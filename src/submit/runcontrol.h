// The automatic submitter: the run queue's commands, the walk over the engine tables with
// at most Ports requests in flight, the classification of every answer, the time-out scan
// and the completion actions of an ended entry.
//
// Everything runs on the event loop's thread. The walk takes one record per event-loop
// turn, so answers and commands are handled between any two records.
#pragma once

#include <QDate>
#include <QLocale>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "net/connectionsettings.h"
#include "submit/requestbuilder.h"
#include "submit/runqueue.h"

namespace qs {

// The writes at an entry's end, in the order they are made.
enum class TCompletionStep { Dates, Report, History };

class TEngineCatalogue;
class THttpCli;
class TSdfDataSet;
class IInternetConnection;

// The four buttons of the Submit view; they are also the run's state.
struct TRunButtons {
  bool start = false, pause = false, stop = false, reset = false;
  bool operator==(const TRunButtons&) const = default;
};

class TRunControl {
 public:
  TRunControl(TAppState& state, TEngineCatalogue& catalogue, TConnectionSettings& connection,
              IDialogs& dialogs, IInternetConnection& internet);
  ~TRunControl();
  TRunControl(const TRunControl&) = delete;
  TRunControl& operator=(const TRunControl&) = delete;

  // ---- commands
  // "Add Checked Projects": the checked projects of `domain`, in list order. A stored
  // value that cannot be read throws; entries made before it stay queued.
  void AddChecked(const std::string& domain, const std::vector<std::string>& projects,
                  const std::function<bool(const std::string&)>& checked);
  // The scheduler's enqueue of one project (its own checks come first).
  void AddScheduled(const std::string& domain, const std::string& project);
  // The cancel link of a waiting entry; entries in other states are left alone.
  void Cancel(size_t index);
  void Start();
  void Pause();
  void Stop();
  void Reset();

  // One 100 ms tick of the busy timer: the next frame, and every 17th tick the time-out
  // scan. Does nothing while the timer is stopped.
  void Tick();
  // Tests drive the ticks themselves: the timer is then only switched on and off.
  void SetOwnTimer(bool own) { ownTimer_ = own; }
  bool TimerRunning() const { return timerRunning_; }

  // ---- observable state
  const RunQueue& Queue() const { return queue_; }
  const std::vector<ActivityRow>& Rows() const { return rows_; }
  const TRunButtons& Buttons() const { return buttons_; }
  int Total() const { return total_; }
  int Completed() const { return completed_; }
  int InFlight() const { return inFlight_; }
  int LiveRequests() const { return static_cast<int>(live_.size()); }
  int Current() const { return current_; }
  bool ScheduledRun() const { return scheduledRun_; }
  bool Active() const { return !buttons_.start && buttons_.pause; }
  // The weight (`e_count`) of the current entry's rows decided so far, skipped rows included:
  // it reaches the entry's expected total when every visited record is decided.
  long long DecidedWeight() const { return decidedWeight_; }
  // While an entry is under promotion or paused: its node's text, then the decided weight
  // against the expected total ("site.com [Index]: 120 / 306"); otherwise empty.
  std::string ProgressText() const;

  // ---- events
  std::function<void()> OnQueueChanged;          // entries or their lines changed
  std::function<void()> OnRowsCleared;           // a new entry began, or Reset
  std::function<void(size_t row)> OnRowAdded;
  std::function<void(size_t row)> OnRowDecided;  // its Result was set (skipped or classified)
  std::function<void()> OnButtonsChanged;
  std::function<void(const RunEntry&)> OnEntryEnded;  // after its completion actions
  std::function<void(const std::string& path)> OnReportWritten;
  std::function<void()> OnUpdateDatabase;        // Yes to "Your database needs to be updated"
  std::function<void()> OnScheduledListRebuild;  // a scheduled entry ended
  std::function<void()> OnReloadHistory;         // the open project's history has a new line
  std::function<void(bool scheduled)> OnTrayLook;
  std::function<void(bool shown, int frame)> OnBusyIndicator;
  // Called before each write of an entry's end (see CompletionActions); false ends the
  // completion there, as if the process had been killed at that moment. For tests.
  std::function<bool(TCompletionStep)> OnCompletionStep;

 private:
  struct TLiveRequest;
  enum class TWalkTable { Main, Custom, Done };
  // The date and time texts of one second: made once for all rows made in that second.
  struct TStamp {
    int64_t second = INT64_MIN;
    QLocale locale;
    QDate date;
    TSharedText dateTime, time;
  };
  const TStamp& StampOf(int64_t msecs);

  RunEntry& CurrentEntry() { return queue_.Entries()[static_cast<size_t>(current_)]; }
  void SetButtons(TRunButtons b);
  void ChooseNext();
  void ScheduleWalk();
  void WalkStep();
  void VisitRecord(TSdfDataSet& table, TEngineTable from);
  void Send(size_t row, const TBuiltRequest& request);
  void HeaderEnd(TLiveRequest& request, THttpCli& client);
  void RequestDone(TLiveRequest* request);
  void Classify(size_t row, int status, std::string text);
  void EndEntry();
  void CompletionActions(RunEntry& entry);
  void StopCurrent();
  void AbortLive(int status, const std::string& text, bool dropEnds);
  void StartTimer();
  void StopTimer();
  void Scan();
  void Changed();
  void ClearRows();

  TAppState& state_;
  TEngineCatalogue& catalogue_;
  TConnectionSettings& connection_;
  IDialogs& dialogs_;
  IInternetConnection& internet_;
  RunQueue queue_;
  TRequestBuilder builder_;
  TProxyValues proxy_;

  std::vector<ActivityRow> rows_;
  TTextPool texts_;  // the texts rows share
  TStamp stamp_;
  std::list<std::unique_ptr<TLiveRequest>> live_;  // in the order they were started
  TRunButtons buttons_;
  int total_ = 0, completed_ = 0, inFlight_ = 0, current_ = -1;
  long long decidedWeight_ = 0;
  bool scheduledRun_ = false;
  // Raised for every new entry and by Reset: the end of a request of an earlier generation
  // changes nothing but the live list.
  uint64_t generation_ = 0;
  TWalkTable walkTable_ = TWalkTable::Done;
  bool walkPending_ = false;

  QTimer timer_;
  bool ownTimer_ = true;
  bool timerRunning_ = false;
  int tickCount_ = 0;
  int frame_ = 0;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace qs

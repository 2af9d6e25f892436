// The ranking run: for every checked engine in list order, requests its result pages one
// after another through its own HTTP client (HttpRank), cleans each page with the engine's
// rules, marks the first ten results and reports each one that points to the checked URL
// as a position in the RankView model.
//
// One request at a time; the next one is started only from the handler of the previous
// one's completion. A run is active exactly while Stop is enabled (Running()).
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "app/appfolder.h"
#include "app/dialogs.h"
#include "app/langtable.h"
#include "net/httpcli.h"
#include "platform/internetconnection.h"
#include "ranking/rankenginelist.h"
#include "ranking/rankview.h"

namespace qs {

class TRankRun {
 public:
  // The choices of the depth field (RankPage).
  static constexpr std::array<std::string_view, 6> kDepthChoices = {"10", "20",  "50",
                                                                    "100", "150", "200"};

  TRankRun(TAppFolder folder, const TLanguageTable& language, IDialogs& dialogs,
           IInternetConnection& connection, TRankEngineList& engines, TRankView& view);
  TRankRun(const TRankRun&) = delete;
  TRankRun& operator=(const TRankRun&) = delete;

  // The inputs: RankUrl, RankKey, RankPage.
  const std::string& RankUrl() const { return rankUrl_; }
  void SetRankUrl(std::string url) { rankUrl_ = std::move(url); }
  const std::string& RankKey() const { return rankKey_; }
  void SetRankKey(std::string keyword) { rankKey_ = std::move(keyword); }
  const std::string& RankPage() const { return rankPage_; }
  void SetRankPage(std::string depth) { rankPage_ = std::move(depth); }

  // StartRank: checks the connection and that an engine is checked, then runs.
  void Start();
  // StopRank: ends the run; a request in flight is aborted, and what it received is still
  // searched for hits.
  void Stop();
  bool Running() const { return running_; }  // Stop enabled, Start disabled

  // Whether each engine's finished check is appended to the ranking history of the project
  // the checked URL belongs to (on by default).
  void SetRecordHistory(bool on) { recordHistory_ = on; }

  // The run's client, for the proxy settings.
  THttpCli& HttpRank() { return http_; }

  // Start and Stop changed their enabled state.
  std::function<void()> OnRunStateChange;
  // The run cannot go on and waits for Stop: a request could not be started, or the depth
  // is no whole number. The text is the failure's.
  std::function<void(const std::string& text)> OnStall;
  // An engine's check was appended to the history file at `path`.
  std::function<void(const std::string& path)> OnHistoryRecorded;

 private:
  enum class TStep { Requested, EngineDone, Waiting };

  void SetRunning(bool running);
  void NextEngine();
  TStep RequestPage();
  void DocData();
  void RequestDone(int error);
  void RecordCheck();
  void Stall(const std::string& text);
  void Abandon(const std::string& text);
  std::string Lookup(std::string_view key) const { return language_.Lookup(key); }

  TAppFolder folder_;
  const TLanguageTable& language_;
  IDialogs& dialogs_;
  IInternetConnection& connection_;
  TRankEngineList& engines_;
  TRankView& view_;
  THttpCli http_;
  QByteArray body_;
  QBuffer bodyStream_;

  std::string rankUrl_ = "http://";
  std::string rankKey_;
  std::string rankPage_ = "10";

  bool running_ = false;
  bool inFlight_ = false;  // a request of this run has been started and has not ended
  size_t engineIndex_ = 0;
  std::string engine_;     // the current engine's name
  size_t node_ = 0;        // its node in the view
  int page_ = 1;           // the page to request next
  long long pages_ = 0;    // pages per engine, from the depth
  std::string requestedUrl_;
  bool recordHistory_ = true;
  bool engineFailed_ = false;  // a page of the current engine brought no usable answer
};

}  // namespace qs

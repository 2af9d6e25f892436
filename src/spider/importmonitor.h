// The import monitor as behaviour: fetches the pages of one site one after another from a
// start URL, reads each page's title, description and keywords, queues the links that stay
// on the site and pass the spider options, and by its mode turns pages into projects,
// offers to add them, or offers to update the project of a page.
//
// The window (TImportProjects) binds to the tree's and the log's events, to OnCountersChange,
// OnStopEnabledChange, OnShow, OnPageStatus and OnImportEnded, and calls Stop() and
// LinkClicked(). Nothing here shows anything itself but the failure messages, which go
// through IDialogs.
#pragma once

#include <QBuffer>
#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "net/httpcli.h"
#include "projects/newproject.h"
#include "projects/projecteditor.h"
#include "spider/importlog.h"
#include "spider/importstatus.h"
#include "spider/importtree.h"
#include "spider/pagescan.h"

namespace qs {

enum class TImportEnd {
  Finished,  // no waiting URL was left ("Import Finished")
  Stopped,   // the user stopped it ("Import Stopped")
  Failed,    // a request could not be started, or a failure abandoned the import
};

class TImportMonitor : public IImportHandOff {
 public:
  // The monitor works on the shared new project record and spider options of `state`, and
  // on the main window's project list through `editor`.
  TImportMonitor(TAppState& state, TProjectEditor& editor, IDialogs& dialogs);
  ~TImportMonitor() override;
  TImportMonitor(const TImportMonitor&) = delete;
  TImportMonitor& operator=(const TImportMonitor&) = delete;

  // The wizards' and Update meta info's hand-off: takes the record and the options into
  // the shared ones, sets mode and start URL, shows the monitor (OnShow), enables Stop and
  // starts. A mode that is not one of the three throws std::invalid_argument.
  void StartImport(std::string_view mode, const std::string& startUrl,
                   const TNewProjectRecord& record, const TSpiderOptions& options) override;

  // ---- state
  TImportMode Mode() const { return mode_; }
  void SetMode(TImportMode mode) { mode_ = mode; }
  const std::string& StartUrl() const { return startUrl_; }
  void SetStartUrl(std::string url) { startUrl_ = std::move(url); }
  // The tree and the log; bind to their events (On...) for every change.
  TImportTree& Tree() { return tree_; }
  const TImportTree& Tree() const { return tree_; }
  TImportLog& Log() { return log_; }
  const TImportLog& Log() const { return log_; }
  size_t UrlsFound() const { return urlsFound_; }        // "Url's Found"
  size_t UrlsSpidered() const { return urlsSpidered_; }  // "Url's Spidered"
  bool StopEnabled() const { return stopEnabled_; }
  // From Start until the import ends (finished, stopped or failed).
  bool Running() const { return running_; }
  // The node being fetched or processed.
  std::optional<size_t> CurrentNode() const { return current_; }
  // The texts of the running (or last) import.
  const TImportTexts& Texts() const { return texts_; }
  // True when the node's status line is exactly the waiting text.
  bool Waiting(size_t node) const;

  // ---- commands
  void EnableStop() { SetStopEnabled(true); }
  // Clears the tree, adds the start URL's node and fetches it; the caller has set the mode
  // and start URL and enabled Stop. An import still fetching is abandoned first.
  void Start();
  // Disables Stop and aborts the request in flight; the page that arrived so far is still
  // processed, then the import ends with "Import Stopped".
  void Stop();
  // A link of a line in the tree, by its href: "add" or "update". False for any other href
  // or when nothing was done. A failure (a file that cannot be written) is shown.
  bool LinkClicked(size_t node, std::string_view href);
  bool AddLink(size_t node);
  bool UpdateLink(size_t node);

  // ---- events
  std::function<void()> OnShow;  // the monitor is to be shown (StartImport)
  std::function<void()> OnCountersChange;
  std::function<void(bool enabled)> OnStopEnabledChange;
  // A fetched page's status line was set (or its request could not be started).
  std::function<void(size_t node)> OnPageStatus;
  std::function<void(TImportEnd end)> OnImportEnded;

  // The monitor's own client (HttpCli1); the proxy settings are applied at each Start.
  THttpCli& HttpCli1() { return *http_; }
  // The most a page may bring; a longer page ends its request (reason other than "OK") and
  // what arrived is processed.
  void SetPageLimit(int64_t bytes) { http_->SetRcvdStreamLimit(bytes); }

 private:
  std::string Lookup(std::string_view key) const { return state_.languageTable.Lookup(key); }
  void SetStopEnabled(bool enabled);
  void SetCounters(size_t found, size_t spidered);
  TImportLines InitialLines() const;
  std::optional<size_t> FirstWaiting();
  void NextUrl();
  void RequestDone();
  void PageReceived();
  void SetPageStatus(size_t node, const std::string& reason,
                     const std::optional<std::string>& title, const TPageMeta& meta);
  void CheckLinks(uint64_t generation);
  void PageComplete();
  void End(TImportEnd end);
  void Abandon(const std::exception& e);
  bool OnDomainOf(const std::string& url);
  void TakeRecordUrl(const std::string& url);
  std::string LineValue(size_t node, TImportLine line, const std::string& caption) const;

  TAppState& state_;
  TProjectEditor& editor_;
  IDialogs& dialogs_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  std::unique_ptr<THttpCli> http_;
  QBuffer page_;

  TImportMode mode_ = TImportMode::JustSpider;
  std::string startUrl_;
  TImportTexts texts_;
  TImportTree tree_;
  TImportLog log_;
  size_t urlsFound_ = 0, urlsSpidered_ = 0;
  bool stopEnabled_ = false;
  bool running_ = false;
  bool inFlight_ = false;        // a request started whose end has not arrived
  bool restartPending_ = false;  // Start came while a request was in flight
  uint64_t generation_ = 0;      // one per Start; a stale continuation does nothing
  size_t waitingFrom_ = 0;       // no node before it is waiting
  std::optional<size_t> current_;

  // The link pass of the current page.
  std::vector<std::string> links_;
  size_t nextLink_ = 0;
  int levelsDeep_ = 0, maxPages_ = 0;
};

}  // namespace qs

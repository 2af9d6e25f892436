#include "spider/importmonitor.h"

#include <stdexcept>

#include "app/errors.h"
#include "net/connectionsettings.h"
#include "net/queuedcall.h"
#include "net/receivelimits.h"
#include "projects/naming.h"
#include "spider/linkextract.h"
#include "spider/linkrules.h"
#include "spider/pagescan.h"
#include "spider/urlresolver.h"

namespace qs {

namespace {

// The link pass lets pending events run between slices of this length. Handling the
// events after every single link would cost more than the links themselves; nothing a
// pending event can do (Stop, an "add" or "update" link) changes how the remaining links
// of the page are tested, so the order of what is observed stays the same.
constexpr qint64 kSliceMilliseconds = 5;

}  // namespace

TImportMonitor::TImportMonitor(TAppState& state, TProjectEditor& editor, IDialogs& dialogs)
    : state_(state),
      editor_(editor),
      dialogs_(dialogs),
      http_(std::make_unique<THttpCli>()),
      texts_(state.languageTable) {
  http_->SetAgent("Mozilla/3.0 (compatible)");
  http_->SetAccept("image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
  http_->SetRcvdStreamLimit(receive_limit::kSpiderPage);
  http_->SetRcvdStream(&page_);
  http_->OnDocBegin = [this](THttpCli&) {
    page_.buffer().clear();
    page_.seek(0);
  };
  http_->OnRequestDone = [this](THttpCli&, THttpRequest, int) { RequestDone(); };
  page_.open(QIODevice::ReadWrite);
}

TImportMonitor::~TImportMonitor() {
  // The client goes first: no event of it may reach a half-destroyed monitor.
  http_.reset();
}

void TImportMonitor::StartImport(std::string_view mode, const std::string& startUrl,
                                 const TNewProjectRecord& record, const TSpiderOptions& options) {
  const auto parsed = ParseImportMode(mode);
  if (!parsed) throw std::invalid_argument("Unknown import mode \"" + std::string(mode) + "\"");
  if (&record != &state_.newProject) state_.newProject = record;
  if (&options != &state_.spiderOptions) state_.spiderOptions = options;
  mode_ = *parsed;
  startUrl_ = startUrl;
  if (OnShow) OnShow();
  EnableStop();
  Start();
}

bool TImportMonitor::Waiting(size_t node) const {
  return tree_.Node(node).lines[kImportStatusLine] == texts_.waiting;
}

void TImportMonitor::SetStopEnabled(bool enabled) {
  if (stopEnabled_ == enabled) return;
  stopEnabled_ = enabled;
  if (OnStopEnabledChange) OnStopEnabledChange(enabled);
}

void TImportMonitor::SetCounters(size_t found, size_t spidered) {
  if (found == urlsFound_ && spidered == urlsSpidered_) return;
  urlsFound_ = found;
  urlsSpidered_ = spidered;
  if (OnCountersChange) OnCountersChange();
}

TImportLines TImportMonitor::InitialLines() const {
  return {texts_.waiting, texts_.level, texts_.title, texts_.description, texts_.keywords};
}

void TImportMonitor::Start() {
  ++generation_;
  texts_ = TImportTexts(state_.languageTable);
  TConnectionSettings::ApplyProxyTo(TConnectionSettings(state_.folder).ReadProxy(), *http_);
  running_ = true;
  current_.reset();
  links_.clear();
  waitingFrom_ = 0;
  tree_.Clear();
  tree_.Add(startUrl_, InitialLines());
  if (inFlight_) {
    // The request of the import that was running ends first; its page is not processed.
    restartPending_ = true;
    http_->Abort();
    return;
  }
  NextUrl();
}

void TImportMonitor::Stop() {
  SetStopEnabled(false);
  if (inFlight_) http_->Abort();
}

std::optional<size_t> TImportMonitor::FirstWaiting() {
  // Only a node that was never fetched has the waiting text: nodes are added waiting and
  // their status line changes once they are fetched, so the scan goes on where it stopped.
  while (waitingFrom_ < tree_.Count() && !Waiting(waitingFrom_)) ++waitingFrom_;
  if (waitingFrom_ < tree_.Count()) return waitingFrom_;
  return std::nullopt;
}

void TImportMonitor::NextUrl() {
  current_.reset();
  if (!stopEnabled_) {
    log_.Add(texts_.stopped, false);
    End(TImportEnd::Stopped);
    return;
  }
  SetCounters(tree_.Count(), urlsSpidered_);
  const std::optional<size_t> next = FirstWaiting();
  if (!next) {
    SetCounters(tree_.Count(), tree_.Count());
    SetStopEnabled(false);
    log_.Add(texts_.finished, false);
    End(TImportEnd::Finished);
    return;
  }
  const size_t node = *next;
  tree_.SetLine(node, kImportStatusLine, texts_.statusConnecting);
  log_.Add(texts_.connecting, true);
  current_ = node;
  SetCounters(tree_.Count(), node);
  tree_.Expand(node);
  page_.buffer().clear();
  page_.seek(0);
  http_->SetURL(tree_.Node(node).url);
  try {
    http_->Get();
    inFlight_ = true;
  } catch (const THttpCliError& e) {
    tree_.SetLine(node, kImportStatusLine, StartFailedStatus(e.what(), texts_));
    if (OnPageStatus) OnPageStatus(node);
    SetStopEnabled(false);
    End(TImportEnd::Failed);
  }
}

void TImportMonitor::RequestDone() {
  inFlight_ = false;
  if (restartPending_) {
    restartPending_ = false;
    NextUrl();
    return;
  }
  if (!running_ || !current_) return;
  try {
    PageReceived();
  } catch (const std::exception& e) {
    Abandon(e);
  }
}

void TImportMonitor::PageReceived() {
  const size_t node = *current_;
  const QByteArray& bytes = page_.buffer();
  const std::string_view page(bytes.constData(), static_cast<size_t>(bytes.size()));
  const std::string url = tree_.Node(node).url;

  const std::optional<std::string> title = PageTitle(page);
  if (title) tree_.SetLine(node, kTitleLine, texts_.title + " " + *title);
  const TPageMeta meta = PageMetaTags(page);
  if (meta.description)
    tree_.SetLine(node, kDescriptionLine, texts_.description + " " + *meta.description);
  if (meta.keywords) tree_.SetLine(node, kKeywordsLine, texts_.keywords + " " + *meta.keywords);
  tree_.SetLine(node, kLevelLine, texts_.level + " " + std::to_string(UrlLevel(url)));

  SetPageStatus(node, http_->ReasonPhrase(), title, meta);

  log_.Add(texts_.extracting, true);
  links_ = ExtractLinks(page);
  nextLink_ = 0;
  log_.Add(texts_.checking, true);
  const TSpiderLimits limits = SpiderLimits(state_.spiderOptions);
  levelsDeep_ = limits.levelsDeep;
  maxPages_ = limits.maxPages;
  CheckLinks(generation_);
}

void TImportMonitor::SetPageStatus(size_t node, const std::string& reason,
                                   const std::optional<std::string>& title,
                                   const TPageMeta& meta) {
  const std::string url = tree_.Node(node).url;
  const std::string listed = ListedNameOf(url);
  bool isProject = false;
  bool onDomain = true;
  if (mode_ != TImportMode::UpdateProject) {
    onDomain = OnDomainOf(url);
    isProject = onDomain && editor_.IndexOfProject(listed) >= 0;
  }
  TPageStatus status = PageStatus(mode_, reason, url, isProject, texts_);
  if (status.createsProject) {
    std::string problem;
    if (!onDomain) {
      problem = "There is no domain \"" + DomainNameOf(url) + "\".";
    } else {
      TNewProjectRecord& record = state_.newProject;
      record.url = url;
      record.domain = DomainNameOf(url);
      record.listedName = listed;
      record.title = title.value_or("");
      record.description = meta.description.value_or("");
      record.keywords = meta.keywords.value_or("");
      try {
        editor_.CreateProject(record);
      } catch (const NameError& e) {
        problem = e.what();
      }
    }
    if (!problem.empty()) {
      // A page that cannot become a project (its name cannot be a file name, its domain
      // is gone) is not added; the reason goes to the log and the import goes on.
      status.text = texts_.status + " <b>" + reason + " " + texts_.failed + "</b>";
      log_.Add(problem, false);
    }
  }
  tree_.SetLine(node, kImportStatusLine, std::move(status.text));
  if (OnPageStatus) OnPageStatus(node);
}

void TImportMonitor::CheckLinks(uint64_t generation) {
  if (generation != generation_ || !current_) return;
  try {
    QElapsedTimer slice;
    slice.start();
    const std::string& base = tree_.Node(*current_).url;
    const std::string& filter = state_.spiderOptions.extensions;
    while (nextLink_ < links_.size()) {
      std::string url = ResolveLink(links_[nextLink_++], base);
      if (!url.empty() && tree_.Count() < static_cast<size_t>(std::max(maxPages_, 0)) &&
          url.find('#') == std::string::npos && HasAcceptedExtension(url, filter) &&
          UrlLevel(url) <= levelsDeep_ && !tree_.Contains(url))
        tree_.Add(std::move(url), InitialLines());
      if (nextLink_ < links_.size() && slice.elapsed() >= kSliceMilliseconds) {
        QueueCall(alive_, [this, generation] { CheckLinks(generation); });
        return;
      }
    }
    PageComplete();
  } catch (const std::exception& e) {
    Abandon(e);
  }
}

void TImportMonitor::PageComplete() {
  links_.clear();
  log_.Add(texts_.complete, true);
  NextUrl();
}

void TImportMonitor::End(TImportEnd end) {
  running_ = false;
  current_.reset();
  links_.clear();
  if (OnImportEnded) OnImportEnded(end);
}

void TImportMonitor::Abandon(const std::exception& e) {
  SetStopEnabled(false);
  End(TImportEnd::Failed);
  dialogs_.Message(e.what(), TMsgDlgType::Error);
}

bool TImportMonitor::OnDomainOf(const std::string& url) {
  // The project list is the current domain's. A page is tested against, and added to,
  // the list of its own domain, which the user may have left during the import.
  const std::string domain = DomainNameOf(url);
  if (domain == state_.currentDomain) return true;
  const int i = editor_.IndexOfDomain(domain);
  if (i < 0) return false;
  editor_.SelectDomain(i);
  return true;
}

void TImportMonitor::TakeRecordUrl(const std::string& url) {
  TNewProjectRecord& record = state_.newProject;
  record.url = url;
  record.domain = DomainNameOf(url);
  record.listedName = ListedNameOf(url);
}

std::string TImportMonitor::LineValue(size_t node, TImportLine line,
                                      const std::string& caption) const {
  const std::string& text = tree_.Node(node).lines[line];
  const std::string prefix = caption + " ";
  if (text.compare(0, prefix.size(), prefix) == 0) return text.substr(prefix.size());
  if (text == caption) return {};
  return text;
}

bool TImportMonitor::LinkClicked(size_t node, std::string_view href) {
  if (node >= tree_.Count()) return false;
  try {
    if (href == "add") return AddLink(node);
    if (href == "update") return UpdateLink(node);
  } catch (const std::exception& e) {
    dialogs_.Message(e.what(), TMsgDlgType::Error);
  }
  return false;
}

bool TImportMonitor::AddLink(size_t node) {
  const std::string url = tree_.Node(node).url;
  TakeRecordUrl(url);
  TNewProjectRecord& record = state_.newProject;
  if (!OnDomainOf(url) || editor_.IndexOfProject(record.listedName) >= 0) return false;
  record.title = LineValue(node, kTitleLine, texts_.title);
  record.description = LineValue(node, kDescriptionLine, texts_.description);
  record.keywords = LineValue(node, kKeywordsLine, texts_.keywords);
  editor_.CreateProject(record);
  tree_.SetLine(node, kImportStatusLine, texts_.projectAdded);
  return true;
}

bool TImportMonitor::UpdateLink(size_t node) {
  const std::string url = tree_.Node(node).url;
  TakeRecordUrl(url);
  const std::string listed = state_.newProject.listedName;
  // Only a page that is a project of its domain is updated: writing the values for any
  // other page would leave a project file that no project list names.
  if (!OnDomainOf(url)) return false;
  const int index = editor_.IndexOfProject(listed);
  if (index < 0) return false;
  editor_.SelectProject(index);
  editor_.SetText("title", LineValue(node, kTitleLine, texts_.title));
  editor_.SetText("description", LineValue(node, kDescriptionLine, texts_.description));
  editor_.SetText("key1", LineValue(node, kKeywordsLine, texts_.keywords));
  tree_.SetLine(node, kImportStatusLine, texts_.projectUpdated);
  return true;
}

}  // namespace qs

#include "ranking/rankrun.h"

#include <algorithm>
#include <charconv>
#include <exception>

#include "app/clock.h"
#include "app/errors.h"
#include "app/text.h"
#include "net/connectionsettings.h"
#include "net/receivelimits.h"
#include "ranking/rankengine.h"
#include "ranking/rankhistory.h"
#include "ranking/rankpage.h"
#include "ranking/zparser.h"

namespace qs {

namespace {

// The depth as a whole number: an optional sign and decimal digits within 32 bits.
int32_t DepthNumber(const std::string& text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
    throw ConversionError("'" + text + "' is not a valid integer value");
  return value;
}

}  // namespace

TRankRun::TRankRun(TAppFolder folder, const TLanguageTable& language, IDialogs& dialogs,
                   IInternetConnection& connection, TRankEngineList& engines, TRankView& view)
    : folder_(std::move(folder)),
      language_(language),
      dialogs_(dialogs),
      connection_(connection),
      engines_(engines),
      view_(view) {
  http_.SetRcvdStreamLimit(receive_limit::kRankPage);
  http_.OnDocData = [this](THttpCli&, const char*, int) { DocData(); };
  http_.OnRequestDone = [this](THttpCli&, THttpRequest, int error) { RequestDone(error); };
}

void TRankRun::SetRunning(bool running) {
  if (running_ == running) return;
  running_ = running;
  if (OnRunStateChange) OnRunStateChange();
}

void TRankRun::Start() {
  // A stopped request whose end has not arrived yet still owns the client.
  if (running_ || inFlight_) return;
  if (!TConnectionSettings::CheckInternet(connection_, &dialogs_, language_)) return;
  if (!engines_.AnyChecked()) {
    dialogs_.Message(Lookup("norank"), TMsgDlgType::Error);
    return;
  }
  SetRunning(true);
  view_.Clear();
  engineIndex_ = 0;
  try {
    NextEngine();
  } catch (const std::exception& e) {
    Abandon(e.what());
  }
}

void TRankRun::Stop() {
  if (!running_) return;
  SetRunning(false);
  if (inFlight_) http_.Abort();
}

void TRankRun::NextEngine() {
  for (;;) {
    page_ = 1;
    if (!running_) return;
    const int next = engines_.NextChecked(engineIndex_);
    if (next < 0) {
      SetRunning(false);
      return;
    }
    engineIndex_ = static_cast<size_t>(next);
    engine_ = engines_.Name(engineIndex_);
    node_ = view_.AddNode(engine_, Lookup("381"), Lookup("382"), Lookup("383"));
    engineFailed_ = false;
    if (RequestPage() != TStep::EngineDone) return;
    ++engineIndex_;
  }
}

TRankRun::TStep TRankRun::RequestPage() {
  try {
    pages_ = DepthNumber(rankPage_) / 10;
  } catch (const ConversionError& e) {
    dialogs_.Message(e.what(), TMsgDlgType::Error);
    Stall(e.what());
    return TStep::Waiting;
  }
  if (pages_ < page_) {
    view_.SetStatus(node_, Lookup("384"));
    return TStep::EngineDone;
  }

  const TRankEngine engine = ReadRankEngine(folder_, engine_);
  const std::string keyword = ReplaceAll(rankKey_, " ", "+");
  std::string url = ReplaceAll(engine.url, "$keyword", keyword);
  const std::string expression = ReplaceAll(engine.page, "$curpage", std::to_string(page_));
  url = ReplaceAll(url, "$page", PageExpressionValue(expression));
  view_.SetDepth(node_, Lookup("385") + std::to_string(page_ * 10) + "</b>");

  bodyStream_.close();
  body_.clear();
  bodyStream_.setBuffer(&body_);
  bodyStream_.open(QIODevice::WriteOnly);
  http_.SetRcvdStream(&bodyStream_);
  http_.SetURL(url);
  requestedUrl_ = url;
  view_.SetStatus(node_, Lookup("380"));
  try {
    inFlight_ = true;
    http_.Get();
  } catch (const THttpCliError& e) {
    inFlight_ = false;
    view_.SetStatus(node_, Lookup("380") + " <b>Error " + e.what() + "</b>");
    Stall(e.what());
    return TStep::Waiting;
  }
  return TStep::Requested;
}

void TRankRun::DocData() {
  if (!inFlight_) return;
  view_.SetStatus(node_, Lookup("387") + std::to_string(http_.RcvdCount()));
}

void TRankRun::RequestDone(int error) {
  if (!inFlight_) return;  // a request the run did not start
  inFlight_ = false;
  bodyStream_.close();
  const int status = http_.StatusCode();
  if (error != 0 || status < 200 || status > 399) engineFailed_ = true;
  try {
    ++page_;
    const int received = page_ - 1;
    std::string page = JoinPageLines(std::string_view(body_.constData(), body_.size()));
    body_.clear();
    const TRankEngine engine = ReadRankEngine(folder_, engine_);
    CleanPage(page, engine.remove, engine.replace);
    const TMarkedPage marked = MarkResults(page, engine.search);
    for (int n : MatchResults(marked, rankUrl_))
      view_.AddHit(node_, (received - 1) * kResultsPerPage + n, requestedUrl_, Lookup("386"));

    if (pages_ < page_) {
      ++engineIndex_;
      view_.SetStatus(node_, Lookup("384"));
      // After Stop the last page was cut short: the engine is shown finished with what
      // arrived, but only a check that ran to its end is kept.
      if (running_) RecordCheck();
      NextEngine();
    } else if (running_ && RequestPage() == TStep::EngineDone) {
      ++engineIndex_;
      NextEngine();
    }
  } catch (const std::exception& e) {
    Abandon(e.what());
  }
}

// The history keeps what a check found. A page that brought no answer, or an error page (a
// refusal, a block page), says nothing about the position, so such a check is not recorded
// as "not found".
void TRankRun::RecordCheck() {
  if (!recordHistory_ || engineFailed_) return;
  const std::string path = RankHistoryPathFor(folder_, rankUrl_);
  if (path.empty()) return;
  const TRankNode& node = view_.Nodes()[node_];
  TRankCheck check;
  check.when = clock::Now();
  check.engine = engine_;
  check.keyword = rankKey_;
  check.depth = static_cast<int>(pages_ * kResultsPerPage);
  std::vector<const TRankHit*> hits;
  for (const TRankHit& hit : node.hits) hits.push_back(&hit);
  std::stable_sort(hits.begin(), hits.end(),
                   [](const TRankHit* a, const TRankHit* b) { return a->position < b->position; });
  for (const TRankHit* hit : hits) check.positions.push_back(hit->position);
  if (!hits.empty()) check.resultUrl = hits.front()->url;
  try {
    AppendRankChecks(path, {check});
  } catch (const IoError& e) {
    // The check itself went well; the run goes on and the user learns what was not kept.
    dialogs_.Message(e.what(), TMsgDlgType::Error);
    return;
  }
  if (OnHistoryRecorded) OnHistoryRecorded(path);
}

void TRankRun::Stall(const std::string& text) {
  if (OnStall) OnStall(text);
}

// A failure that is no network failure (the ranking file cannot be read): shown, and the
// run ends as if Stop had been pressed.
void TRankRun::Abandon(const std::string& text) {
  dialogs_.Message(text, TMsgDlgType::Error);
  Stop();
}

}  // namespace qs

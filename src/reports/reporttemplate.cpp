#include "reports/reporttemplate.h"

#include "app/clock.h"
#include "app/errors.h"
#include "app/text.h"
#include "platform/filesystem.h"
#include "platform/regional.h"
#include "projects/domainstore.h"
#include "projects/naming.h"
#include "store/biginifile.h"

namespace qs {

std::string TReportTemplate::WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32 + 2);
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    } else {
      out.push_back(c);
      ++i;
    }
  }
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  return out;
}

TTemplatePieces TReportTemplate::Cut(std::string_view text) {
  TTemplatePieces p;
  const size_t s = text.find(kStartMarker);
  const size_t e = text.find(kEndMarker);
  if (s == std::string_view::npos || e == std::string_view::npos || e < s + kStartMarker.size()) {
    p.head = std::string(text);
    return p;
  }
  p.hasRows = true;
  p.head = std::string(text.substr(0, s));
  const size_t rowBegin = s == 0 ? 0 : s - 1;
  const size_t rowEnd = std::min(text.size(), e + kEndMarker.size() + 2);
  p.row = std::string(text.substr(rowBegin, rowEnd - rowBegin));
  p.tail = std::string(text.substr(e + kEndMarker.size()));
  return p;
}

namespace {

// A value of the engine table goes in as HTML text (HtmlEscaped): the tables come from outside
// (database updates), and an address's "&" or a name's "<" must not end an attribute or make
// markup of its own.
std::string HtmlText(std::string_view value) { return HtmlEscaped(value); }

}  // namespace

std::string TReportTemplate::FillRow(std::string_view block, const TReportRow& row, int index,
                                     bool bands) {
  std::string t = ReplaceAll(block, "$engname", HtmlText(row.engine));
  t = ReplaceAll(t, "$engurl", HtmlText(row.url));
  t = ReplaceAll(t, "$engresult", row.result);
  t = ReplaceAll(t, "$engdatetime", row.dateTime);
  t = ReplaceAll(t, "$engtype", HtmlText(row.type));
  t = ReplaceAll(t, "$engcount", HtmlText(row.count));
  t = ReplaceAll(t, "$id", std::to_string(index));
  return ReplaceAll(t, "$band", bands ? (index % 2 ? "band1" : "band2") : "");
}

std::string TReportTemplate::FillHead(std::string_view head, const TReportHead& v,
                                      const TReportSettings& settings) {
  const std::pair<std::string_view, std::string> values[] = {
      {"$status", v.status},
      {"$databases", v.databases},
      {"$total", v.total},
      {"$ok", v.ok},
      {"$failed", v.failed},
      {"$timeout", v.timeout},
      {"$domain", v.domain},
      {"$border", std::to_string(settings.border)},
      {"$cellpadding", std::to_string(settings.cellPadding)},
      {"$cellspacing", std::to_string(settings.cellSpacing)},
      {"$weburl", v.webUrl},
      {"$webtitle", v.webTitle},
      {"$webdesc", v.webDesc},
      {"$webkeys", v.webKeys},
      {"$webcat", v.webCat}};
  std::string t(head);
  for (const auto& [name, value] : values) t = ReplaceAll(t, name, value);
  return t;
}

std::string TReportTemplate::Compose(const TTemplatePieces& pieces, const TReportHead& head,
                                     const std::vector<TReportRow>& rows,
                                     const TReportSettings& settings) {
  std::string out = FillHead(pieces.head, head, settings);
  if (pieces.hasRows) {
    for (size_t i = 0; i < rows.size(); ++i)
      out += FillRow(pieces.row, rows[i], static_cast<int>(i), settings.bands);
    out += pieces.tail;
  }
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  return out;
}

void TReportTemplate::Stream(const TTemplatePieces& pieces, const TReportHead& head,
                             size_t rowCount, const std::function<TReportRow(size_t)>& rowAt,
                             const TReportSettings& settings,
                             const std::function<void(std::string_view)>& sink) {
  char last = 0;
  bool any = false;
  auto put = [&](std::string_view piece) {
    if (piece.empty()) return;
    sink(piece);
    any = true;
    last = piece.back();
  };
  put(FillHead(pieces.head, head, settings));
  if (pieces.hasRows) {
    for (size_t i = 0; i < rowCount; ++i)
      put(FillRow(pieces.row, rowAt(i), static_cast<int>(i), settings.bands));
    put(pieces.tail);
  }
  if (any && last != '\n') sink("\r\n");
}

std::string TReportTemplate::ReadTemplate(const std::string& path) {
  std::optional<std::string> bytes = ReadRegularFileBytes(path, kMaxTemplateBytes);
  if (!bytes) throw IoError("Cannot open file " + path);
  return WithCrLf(*bytes);
}

std::string TReportWriter::ReportPath(const std::string& domain, const std::string& projectKey,
                                      const QDate& day) const {
  return TDomainStore(folder_).ProjectFolder(domain) + "/" + projectKey +
         ReplaceAll(regional::FormatDate(day), "/", "") + ".htm";
}

void TReportWriter::Write(const std::string& path, const TTemplatePieces& pieces,
                          const TReportHead& head, size_t rowCount,
                          const std::function<TReportRow(size_t)>& rowAt) const {
  constexpr size_t kChunk = 64 * 1024;
  TAtomicFile file(path);
  std::string chunk;
  chunk.reserve(kChunk);
  TReportTemplate::Stream(pieces, head, rowCount, rowAt, settings_, [&](std::string_view piece) {
    chunk.append(piece);
    if (chunk.size() >= kChunk) {
      file.Write(chunk);
      chunk.clear();
    }
  });
  file.Write(chunk);
  file.Commit();
}

std::string TReportWriter::WriteReport(const RunEntry& entry, const std::vector<ActivityRow>& rows,
                                       const QDate& day) const {
  const TTemplatePieces pieces = TReportTemplate::Cut(TReportTemplate::ReadTemplate(settings_.templateFile));
  const std::string key = ProjectKeyOf(entry.project);
  TBiggerIniFile project(TDomainStore(folder_).ProjectFile(entry.domain, key));
  auto value = [&](std::string_view k) { return project.ReadText(key, k, ""); };
  TReportHead head{entry.lines[kStatusLine], entry.lines[kKindsLine], entry.lines[kTotalLine],
                   entry.lines[kOkLine],     entry.lines[kFailedLine], entry.lines[kTimeoutLine],
                   entry.DisplayText(),      value("url"),             value("title"),
                   value("description"),     value("key1"),            value("catagory")};
  project.Close();
  const std::string path = ReportPath(entry.domain, key, day);
  Write(path, pieces, head, rows.size(), [&rows](size_t i) {
    const ActivityRow& r = rows[i];
    return TReportRow{r.engine, r.url, r.result, r.date, r.type, r.count};
  });
  return path;
}

std::string TReportWriter::WritePreview() const {
  const TTemplatePieces pieces = TReportTemplate::Cut(TReportTemplate::ReadTemplate(settings_.templateFile));
  const QDateTime now = clock::Now();
  const std::string when = regional::FormatDate(now.date()) + " " + regional::FormatTime(now.time());
  const TReportRow sample{"", "", language_.Lookup("119"), when, language_.Lookup("120"), "1"};
  auto l = [&](std::string_view k) { return language_.Lookup(k); };
  const TReportHead head{l("106"), l("107"), l("108"), l("109"), l("110"), l("111"), l("112"),
                         l("113"), l("114"), l("115"), l("116"), l("117")};
  const std::string path = folder_.Path(kPreviewFile);
  Write(path, pieces, head, 50, [&](size_t i) {
    TReportRow row = sample;
    row.engine = language_.Lookup("118") + std::to_string(i);
    return row;
  });
  return path;
}

}  // namespace qs

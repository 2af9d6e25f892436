// The HTML report of a run, made from a template with a repeated row block.
#pragma once

#include <QDate>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"
#include "app/appstate.h"
#include "app/langtable.h"
#include "submit/runentry.h"

namespace qs {

inline constexpr std::string_view kStartMarker = "<!--STARTDATA-->";
inline constexpr std::string_view kEndMarker = "<!--ENDDATA-->";
inline constexpr std::string_view kPreviewFile = "\\testreport.htm";

struct TTemplatePieces {
  std::string head, row, tail;
  bool hasRows = false;  // false: the template holds no usable pair of markers
};

// One row's values, as the row placeholders take them.
struct TReportRow {
  std::string engine, url, result, dateTime, type, count;
};

// The head's values, in the order their placeholders are replaced.
struct TReportHead {
  std::string status, databases, total, ok, failed, timeout, domain;
  std::string webUrl, webTitle, webDesc, webKeys, webCat;
};

class TReportTemplate {
 public:
  // The text with every line ended by CR LF (a last line without a line end gets one).
  static std::string WithCrLf(std::string_view text);

  // Cuts a CR LF text at the first start marker and the first end marker. The row block runs
  // from the character before the start marker to the second character after the end
  // marker; the tail is everything after the end marker. A template that begins with the
  // start marker has no character before it, so its row block begins at the marker; a row
  // block cut short by the end of the text ends there. A template without both markers, or
  // with the first end marker before the first start marker, has no row block: it is all
  // head, and the report is its head with the placeholders replaced.
  static TTemplatePieces Cut(std::string_view text);

  static std::string FillRow(std::string_view block, const TReportRow& row, int index, bool bands);
  static std::string FillHead(std::string_view head, const TReportHead& values,
                              const TReportSettings& settings);

  // head + rows + tail, with every line ended by CR LF.
  static std::string Compose(const TTemplatePieces& pieces, const TReportHead& head,
                             const std::vector<TReportRow>& rows, const TReportSettings& settings);

  // The same bytes as Compose, handed to `sink` piece by piece: the head, each row as
  // `rowAt` gives it, the tail, and the line end Compose adds. Nothing holds the whole report.
  static void Stream(const TTemplatePieces& pieces, const TReportHead& head, size_t rowCount,
                     const std::function<TReportRow(size_t)>& rowAt,
                     const TReportSettings& settings,
                     const std::function<void(std::string_view)>& sink);

  // Reads the template file (IoError when it cannot be read or does not exist). Only a
  // regular file of at most kMaxTemplateBytes is read: the setting may name anything.
  static constexpr size_t kMaxTemplateBytes = 4 * 1024 * 1024;
  static std::string ReadTemplate(const std::string& path);
};

// Writing the report of an ended entry and the sample report.
class TReportWriter {
 public:
  TReportWriter(const TAppFolder& folder, const TLanguageTable& language,
                const TReportSettings& settings)
      : folder_(folder), language_(language), settings_(settings) {}

  // The report's path for the project on `day`: ProjectKey + the short date without "/".
  std::string ReportPath(const std::string& domain, const std::string& projectKey,
                         const QDate& day) const;

  // Writes the report of the entry with its rows, replacing a report of the same day, and
  // returns its path. Throws IoError when the template cannot be read or the file written.
  std::string WriteReport(const RunEntry& entry, const std::vector<ActivityRow>& rows,
                          const QDate& day) const;

  // Writes the sample report of fifty rows to \testreport.htm and returns its path.
  std::string WritePreview() const;

 private:
  // Streams the report into the file at `path` through the atomic writer.
  void Write(const std::string& path, const TTemplatePieces& pieces, const TReportHead& head,
             size_t rowCount,
             const std::function<TReportRow(size_t)>& rowAt) const;

  const TAppFolder& folder_;
  const TLanguageTable& language_;
  const TReportSettings& settings_;
};

}  // namespace qs

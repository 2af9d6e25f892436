// Report templates: any text is cut at its markers and filled with rows and head values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "reports/reporttemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string text = qs::TReportTemplate::WithCrLf(input);
  const qs::TTemplatePieces pieces = qs::TReportTemplate::Cut(text);
  if (!pieces.hasRows && pieces.head != text) std::abort();
  if (pieces.hasRows && (pieces.head.size() > text.size() || pieces.tail.size() > text.size()))
    std::abort();
  qs::TReportHead head;
  head.status = "$ok";  // a value holding a later placeholder
  head.ok = "OK 1";
  head.webTitle = "$webdesc";
  const std::vector<qs::TReportRow> rows{{"$band", "$id", "OK", "d", "ENGINE", "1"},
                                         {"B", "", "", "", "FFA", "2"}};
  qs::TReportSettings settings;
  const std::string out = qs::TReportTemplate::Compose(pieces, head, rows, settings);
  if (!out.empty() && (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0)) std::abort();
  // The report as a file is written piece by piece: the same bytes.
  std::string streamed;
  qs::TReportTemplate::Stream(pieces, head, rows.size(), [&](size_t i) { return rows[i]; }, settings,
                              [&](std::string_view piece) { streamed.append(piece); });
  if (streamed != out) std::abort();
  return 0;
}

// Feeds the page expression evaluator and the result-page scanning (line rejoining, clean-up,
// marking, matching) arbitrary texts and checks what each promises.
//
// Input: the expression, the clean-up list, the replacement, the marker and the URL, each a
// random-length string, then the page body (the rest).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "ranking/rankpage.h"
#include "ranking/zparser.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string expression = in.ConsumeRandomLengthString(64 * 1024);
  const std::string removeList = in.ConsumeRandomLengthString(512);
  const std::string replacement = in.ConsumeRandomLengthString(512);
  const std::string marker = in.ConsumeRandomLengthString(64);
  const std::string url = in.ConsumeRandomLengthString(64);
  const std::string body = in.ConsumeRemainingBytesAsString();

  // The evaluator gives a text for everything: a value or a failure, never nothing.
  const std::string value = qs::PageExpressionValue(expression);
  Check(!value.empty());

  // Rejoined lines: every line break is CR LF, and the text ends with one.
  std::string page = qs::JoinPageLines(body);
  for (size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '\r') Check(i + 1 < page.size() && page[i + 1] == '\n');
    if (page[i] == '\n') Check(i > 0 && page[i - 1] == '\r');
  }
  Check(body.empty() == page.empty());
  if (!page.empty()) Check(page.size() >= 2 && page.compare(page.size() - 2, 2, "\r\n") == 0);

  const size_t joined = page.size();
  qs::CleanPage(page, removeList, replacement);
  Check(page.size() <= joined + qs::kMaxCleanUpGrowth);

  // Marks: at most ten, each where it is said to be; putting the marker back in their place
  // gives the cleaned page again.
  const qs::TMarkedPage marked = qs::MarkResults(page, marker);
  Check(marked.marks.size() <= static_cast<size_t>(qs::kResultsPerPage));
  std::string restored;
  size_t from = 0;
  for (size_t i = 0; i < marked.marks.size(); ++i) {
    const std::string mark = qs::ResultMark(static_cast<int>(i) + 1);
    Check(marked.text.compare(marked.marks[i], mark.size(), mark) == 0);
    Check(marked.marks[i] >= from);
    restored.append(marked.text, from, marked.marks[i] - from).append(marker);
    from = marked.marks[i] + mark.size();
  }
  restored.append(marked.text, from, std::string::npos);
  Check(restored == page);

  int last = 0;
  for (int n : qs::MatchResults(marked, url)) {
    Check(n > last && n <= static_cast<int>(marked.marks.size()));
    last = n;
  }
  return 0;
}

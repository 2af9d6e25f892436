#include "ranking/rankpage.h"

#include "app/text.h"

namespace qs {

std::string JoinPageLines(std::string_view body) {
  std::string out;
  out.reserve(body.size() + body.size() / 32 + 2);
  size_t i = 0;
  while (i < body.size()) {
    const size_t end = body.find_first_of("\r\n", i);
    if (end == std::string_view::npos) {
      out.append(body.substr(i)).append("\r\n");
      break;
    }
    out.append(body.substr(i, end - i)).append("\r\n");
    i = end + 1;
    if (body[end] == '\r' && i < body.size() && body[i] == '\n') ++i;
  }
  return out;
}

void CleanPage(std::string& page, std::string_view removeList, std::string_view replacement) {
  const size_t limit = page.size() + kMaxCleanUpGrowth;
  for (size_t comma = removeList.find(','); comma != std::string_view::npos;
       comma = removeList.find(',')) {
    const std::string_view item = removeList.substr(0, comma);
    removeList.remove_prefix(comma + 1);
    if (item.empty()) continue;  // ",," names nothing to replace
    if (replacement.size() > item.size()) {
      size_t count = 0;
      for (size_t at = page.find(item); at != std::string::npos;
           at = page.find(item, at + item.size()))
        ++count;
      const size_t growth = replacement.size() - item.size();
      if (count > 0 && (page.size() >= limit || (limit - page.size()) / growth < count))
        continue;
    }
    page = ReplaceAll(page, item, replacement);
  }
}

std::string ResultMark(int n) { return "<results" + std::to_string(n) + ">"; }

TMarkedPage MarkResults(std::string_view page, std::string_view marker) {
  TMarkedPage out;
  if (marker.empty()) {
    out.text = std::string(page);
    return out;
  }
  out.text.reserve(page.size() + kResultsPerPage * 12);
  size_t from = 0;
  for (int n = 1; n <= kResultsPerPage; ++n) {
    const size_t at = page.find(marker, from);
    if (at == std::string_view::npos) break;
    out.text.append(page.substr(from, at - from));
    out.marks.push_back(out.text.size());
    out.text.append(ResultMark(n));
    from = at + marker.size();
  }
  out.text.append(page.substr(from));
  return out;
}

std::vector<int> MatchResults(const TMarkedPage& page, std::string_view url) {
  std::vector<int> hits;
  const std::string_view text = page.text;
  for (size_t i = 0; i < page.marks.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    const size_t after = page.marks[i] + ResultMark(n).size();
    if (text.substr(after, url.size()) == url) hits.push_back(n);
  }
  return hits;
}

}  // namespace qs

#include "spider/linkextract.h"

#include "spider/pagescan.h"

namespace qs {

std::vector<std::string> ExtractLinks(std::string_view page) {
  constexpr std::string_view kHref = "href=\"";
  std::vector<std::string> links;
  size_t rest = 0;
  for (;;) {
    const size_t open = FindIgnoreCase(page, "<a", rest);
    if (open == std::string_view::npos) break;
    const size_t close = page.find('>', open);
    if (close == std::string_view::npos) break;
    const std::string_view tag = page.substr(open, close + 1 - open);
    rest = close;
    const size_t href = FindIgnoreCase(tag, kHref);
    if (href == std::string_view::npos) continue;
    const size_t start = href + kHref.size();
    // As with meta contents: a value without its closing quote in the tag runs to the end
    // of the tag, without the ">".
    size_t end = tag.find('"', start);
    if (end == std::string_view::npos) end = tag.size() - 1;
    links.emplace_back(tag.substr(start, end - start));
  }
  return links;
}

}  // namespace qs

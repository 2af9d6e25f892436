// The site import's reading of a page: title and meta tags, link extraction, resolution
// against the page's address, the extension filter and the URL tree's duplicate index.
// The input is the page's address, a line break, then the page.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "spider/importtree.h"
#include "spider/linkextract.h"
#include "spider/linkrules.h"
#include "spider/pagescan.h"
#include "spider/urlresolver.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t eol = input.find('\n');
  const std::string_view base = input.substr(0, std::min<size_t>(eol, 256));
  const std::string_view page = eol == std::string_view::npos ? "" : input.substr(eol + 1);

  if (auto title = qs::PageTitle(page)) Check(title->size() <= page.size());
  const qs::TPageMeta meta = qs::PageMetaTags(page);
  for (const auto* v : {&meta.description, &meta.keywords})
    if (*v) Check((*v)->find('"') == std::string::npos && (*v)->size() <= page.size());
  Check(qs::UrlLevel(base) >= 1);

  // The page's scheme and host part, as the resolver takes them.
  std::string pageScheme = "http://";
  size_t start = qs::FindIgnoreCase(base, "http://");
  if (start != std::string_view::npos) {
    start += 7;
  } else if (start = qs::FindIgnoreCase(base, "https://"); start != std::string_view::npos) {
    pageScheme = "https://";
    start += 8;
  }
  std::string_view host = start == std::string_view::npos ? base : base.substr(start);
  host = host.substr(0, host.find('/'));

  qs::TImportTree tree;
  std::set<std::string> seen;
  const qs::TImportLines lines{};
  for (const std::string& link : qs::ExtractLinks(page)) {
    Check(link.find('"') == std::string::npos && link.find('>') == std::string::npos);
    std::string url = qs::ResolveLink(link, base);
    if (url.empty()) continue;
    // Every result stays on the page's host, over http or https; a link without a scheme of
    // its own takes the page's; a relative link's path holds no "//".
    const bool absolute = link.find("://") != std::string::npos;
    const std::string scheme = url.rfind("https://", 0) == 0 ? "https://" : "http://";
    if (!absolute) Check(scheme == pageScheme);
    const std::string prefix = scheme + std::string(host);
    Check(url.compare(0, prefix.size(), prefix) == 0);
    const std::string_view rest = std::string_view(url).substr(prefix.size());
    Check(rest.empty() || rest[0] == '/' || rest[0] == '?' || rest[0] == '#');
    if (link.find("://") == std::string::npos && link.compare(0, 2, "//") != 0)
      Check(rest.find("//") == std::string_view::npos && !rest.empty() && rest[0] == '/');
    Check(qs::UrlLevel(url) >= 1);
    if (qs::HasAcceptedExtension(url, "All")) Check(url.find('.') != std::string::npos);
    const bool fresh = seen.insert(url).second;
    Check(tree.Contains(url) == !fresh);
    if (fresh) tree.Add(std::move(url), lines);
  }
  Check(tree.Count() == seen.size());
  return 0;
}

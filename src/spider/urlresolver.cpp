#include "spider/urlresolver.h"

#include "spider/pagescan.h"

namespace qs {

namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

void CollapseSlashes(std::string& path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out.push_back(c);
  }
  path = std::move(out);
}

// An absolute link stays on the site when it is an http or https address whose host part
// (up to the first "/", "?" or "#") is the page's own; it keeps its own scheme.
bool OnSite(std::string_view address, std::string_view host) {
  std::string_view rest;
  if (address.substr(0, kHttp.size()) == kHttp) rest = address.substr(kHttp.size());
  else if (address.substr(0, kHttps.size()) == kHttps) rest = address.substr(kHttps.size());
  else return false;
  if (rest.substr(0, host.size()) != host) return false;
  return rest.size() == host.size() || rest[host.size()] == '/' || rest[host.size()] == '?' ||
         rest[host.size()] == '#';
}

}  // namespace

std::string ResolveLink(std::string_view link, std::string_view base) {
  // The page's scheme, host part and folder. Links without a scheme of their own take the
  // page's.
  std::string_view scheme = kHttp;
  size_t start = FindIgnoreCase(base, kHttp);
  if (start != std::string_view::npos) {
    start += kHttp.size();
  } else if (start = FindIgnoreCase(base, kHttps); start != std::string_view::npos) {
    scheme = kHttps;
    start += kHttps.size();
  }
  std::string host(start == std::string_view::npos ? base : base.substr(start));
  std::string folder;
  if (const size_t slash = host.find('/'); slash != std::string::npos) {
    folder = host.substr(slash);
    if (folder.find('.') != std::string::npos) folder.resize(folder.rfind('/') + 1);
    host.resize(slash);
  }
  if (folder.empty()) folder = "/";
  if (folder.back() != '/') folder.push_back('/');

  // A link beginning with "//" names a host of its own: it takes the page's scheme.
  // Doubled slashes anywhere else in the resolved path (from "dir//page.html" or "..//x")
  // are collapsed to one, so the path stays one that begins and ends with "/" and names
  // the folder the link means.
  if (link.substr(0, 2) == "//") {
    std::string address = std::string(scheme.substr(0, scheme.size() - 2)) + std::string(link);
    return OnSite(address, host) ? address : std::string();
  }
  if (link.find("://") != std::string_view::npos)
    return OnSite(link, host) ? std::string(link) : std::string();

  std::string path = link.empty() ? std::string("/") : std::string(link);
  if (const size_t up = path.find("../"); up != std::string::npos) path = "/" + path.substr(up + 3);
  if (const size_t here = path.find("./"); here != std::string::npos)
    path = folder + path.substr(here + 2);
  if (path.front() != '/') path = folder + path;
  CollapseSlashes(path);

  std::string file;
  if (path.find('.') != std::string::npos) {
    const size_t last = path.rfind('/');
    file = path.substr(last + 1);
    path.resize(last + 1);
  }
  if (path.back() != '/') path.push_back('/');
  if (file.find("index.") != std::string::npos || file.find("default.") != std::string::npos)
    file.clear();
  return std::string(scheme) + host + path + file;
}

}  // namespace qs

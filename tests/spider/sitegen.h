// A generated static site for the spider's tests and benchmark: nested folders with pages
// whose links cover every kind the import meets (relative, ./ and ../, folders, index and
// default pages, queries, fragments, capital extensions, single-quoted and unquoted hrefs,
// absolute links to this host and to others, missing pages), titles and meta tags in
// several letter cases.
//
// Each link records where it leads by construction: the site path it names, or none when
// the import must not queue it. The expected queue of an import is computed from that graph
// (Expected), never from the program's own resolver.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace qs::test {

struct SiteLink {
  std::string html;                   // the tag as written into the page
  std::optional<std::string> target;  // the site path it leads to, none when not queued
};

struct SitePage {
  std::string path;  // "/s0/t1/p0.html"; the site root is "/"
  std::string file;  // the file that holds it, relative to the site folder
  std::optional<std::string> title, description, keywords;
  std::vector<SiteLink> links;
  std::string html;
};

class GeneratedSite {
 public:
  // `base` is "http://127.0.0.1:PORT", `port` the same port (for the other-host links).
  // `fanOut` sub-folders per folder down to `depth` folder levels, `pagesPerFolder` pages
  // in each folder (besides its index.html).
  GeneratedSite(const std::string& base, uint16_t port, int depth = 3, int fanOut = 3,
                int pagesPerFolder = 4, unsigned seed = 20261210)
      : base_(base), port_(std::to_string(port)), rng_(seed) {
    AddFolder("/", depth, fanOut);
    for (const std::string& folder : folders_) {
      for (int i = 0; i < pagesPerFolder; ++i) names_[folder].push_back(PageName(i));
    }
    for (const std::string& folder : folders_) {
      MakePage(folder, "index.html", folder);
      for (const std::string& name : names_[folder]) MakePage(folder, name, folder + name);
    }
    for (SitePage& page : pages_) page.html = Html(page);
  }

  const std::vector<SitePage>& Pages() const { return pages_; }
  // The page at a site path, or none (a missing page, answered 404).
  const SitePage* Find(const std::string& path) const {
    auto it = byPath_.find(path);
    return it == byPath_.end() ? nullptr : &pages_[it->second];
  }
  std::string Url(const std::string& path) const { return base_ + path; }

  // The URLs an import from `start` queues, in order, with levels deep `levels`, maximum
  // pages `maxPages` and the extension filter `filter`: the breadth-first walk of the link
  // graph in page order, taking a link's target while fewer than maxPages URLs are known,
  // its level (the slashes of its path) is at most levels, it ends with an accepted
  // extension and it is not yet known.
  std::vector<std::string> Expected(const std::string& start, int levels, int maxPages,
                                    const std::string& filter = "All") const {
    std::vector<std::string> queue{start};
    std::set<std::string> known{start};
    for (size_t i = 0; i < queue.size(); ++i) {
      const SitePage* page = Find(queue[i]);
      if (!page) continue;
      for (const SiteLink& link : page->links) {
        if (!link.target) continue;
        const std::string& t = *link.target;
        if (static_cast<int>(known.size()) >= maxPages) continue;
        if (std::count(t.begin(), t.end(), '/') > levels) continue;
        if (filter != "All" && !EndsWith(t, filter)) continue;
        if (!known.insert(t).second) continue;
        queue.push_back(t);
      }
    }
    for (std::string& p : queue) p = base_ + p;
    return queue;
  }

  static bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
  }

 private:
  static std::string PageName(int i) {
    static const char* kKinds[] = {"p%d.html", "q%d.htm", "r%d.php", "s%d.shtml", "c%d.cfm"};
    char name[32];
    std::snprintf(name, sizeof name, kKinds[i % 5], i / 5);
    return name;
  }

  void AddFolder(const std::string& folder, int depth, int fanOut) {
    folders_.push_back(folder);
    if (depth == 0) return;
    for (int i = 0; i < fanOut; ++i) {
      const std::string child = folder + "f" + std::to_string(i) + "/";
      children_[folder].push_back(child);
      AddFolder(child, depth - 1, fanOut);
    }
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  const std::string& PickOf(const std::vector<std::string>& v) { return v[Pick(static_cast<int>(v.size()))]; }

  std::string Tag(const std::string& href) {
    switch (Pick(3)) {
      case 0: return "<a href=\"" + href + "\">link</a>";
      case 1: return "<A HREF=\"" + href + "\">LINK</A>";
      default: return "<a class=\"nav\"\n   href=\"" + href + "\" title=\"x\">nav</a>";
    }
  }

  void MakePage(const std::string& folder, const std::string& name, const std::string& path) {
    SitePage page;
    page.path = path == folder + "index.html" ? folder : path;
    page.file = folder.substr(1) + name;
    const size_t n = pages_.size();
    const std::string label = "Page " + std::to_string(n);
    switch (n % 5) {
      case 0: page.title = label; page.description = "About " + label; page.keywords = "k" + std::to_string(n) + ",site"; break;
      case 1: page.title = "  " + label + " Spaced"; page.description = "Upper " + label; break;
      case 2: page.title = label; page.keywords = "only,keywords"; break;
      case 3: page.description = "Second " + label; break;  // an earlier description is replaced
      case 4: page.title = ""; page.keywords = "K" + std::to_string(n); break;  // description tag without content
    }
    const std::vector<std::string>& here = names_[folder];
    const std::vector<std::string>& root = names_["/"];
    const std::vector<std::string>& kids = children_[folder];
    const int count = 8 + Pick(7);
    for (int i = 0; i < count; ++i) {
      SiteLink link;
      const int kind = Pick(22);
      if (kind <= 3) {
        const std::string& p = PickOf(here);
        link = {Tag(p), folder + p};
      } else if (kind == 4) {
        const std::string& p = PickOf(here);
        link = {Tag("./" + p), folder + p};
      } else if (kind == 5 && !kids.empty()) {
        const std::string& c = PickOf(kids);
        const std::string& p = PickOf(names_[c]);
        link = {Tag(c.substr(folder.size()) + p), c + p};
      } else if (kind == 6) {
        const std::string& p = PickOf(root);
        link = {Tag("../" + p), "/" + p};  // ../ goes to the site's root folder
      } else if (kind == 7) {
        const std::string& f = PickOf(folders_);
        const std::string& p = PickOf(names_[f]);
        link = {Tag(f + p), f + p};
      } else if (kind == 8) {
        const std::string& f = PickOf(folders_);
        const std::string& p = PickOf(names_[f]);
        link = {Tag(base_ + f + p), f + p};
      } else if (kind == 9) {
        link = {Tag("http://127.0.0.2:" + port_ + folder + PickOf(here)), std::nullopt};
      } else if (kind == 10) {
        link = {Tag("http://localhost:" + port_ + "/" + PickOf(root)), std::nullopt};
      } else if (kind == 11) {
        link = {Tag(kids.empty() ? std::string("/") : kids.front().substr(folder.size())), std::nullopt};
      } else if (kind == 12) {
        link = {Tag(Pick(2) ? "index.html" : "default.htm"), std::nullopt};
      } else if (kind == 13) {
        link = {Tag(PickOf(here) + "?id=" + std::to_string(i)), std::nullopt};
      } else if (kind == 14) {
        link = {Tag(PickOf(here) + "#part" + std::to_string(i)), std::nullopt};
      } else if (kind == 15) {
        std::string p = PickOf(here);
        for (char& c : p) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        link = {Tag(p), std::nullopt};
      } else if (kind == 16) {
        link = {"<a href='" + PickOf(here) + "'>single</a>", std::nullopt};
      } else if (kind == 17) {
        link = {"<a href=" + PickOf(here) + ">bare</a>", std::nullopt};
      } else if (kind == 18) {
        const std::string missing = "gone" + std::to_string(Pick(4)) + ".html";
        link = {Tag(missing), folder + missing};
      } else if (kind == 19 && !page.links.empty()) {
        link = page.links[static_cast<size_t>(Pick(static_cast<int>(page.links.size())))];
      } else if (kind == 20) {
        link = {"<a href=\"mailto:owner@example.com\">mail</a>", std::nullopt};
      } else {
        const std::string& p = PickOf(here);
        link = {Tag(p), folder + p};
      }
      page.links.push_back(std::move(link));
    }
    byPath_[page.path] = pages_.size();
    pages_.push_back(std::move(page));
  }

  static std::string Html(const SitePage& p) {
    std::string head = "<html><head>\n";
    // The letter case of the tags varies with the kind of page.
    const bool upper = p.description && p.description->rfind("Upper", 0) == 0;
    if (p.title) head += upper ? "<TITLE>" + *p.title + "</TITLE>\n" : "<Title>" + *p.title + "</title>\n";
    if (p.description) {
      if (p.description->rfind("Second", 0) == 0)
        head += "<meta name=\"description\" content=\"First, replaced\">\n";
      head += upper ? "<META NAME=\"DESCRIPTION\" CONTENT=\"" + *p.description + "\">\n"
                    : "<meta name=\"Description\" content=\"" + *p.description + "\">\n";
    } else {
      head += "<meta name=\"description\">\n";  // no content: no description
    }
    if (p.keywords) head += "<Meta Name=\"keywords\" Content=\"" + *p.keywords + "\">\n";
    std::string body = "</head><body>\n";
    for (const SiteLink& l : p.links) body += l.html + "\n";
    return head + body + "</body></html>\n";
  }

  std::string base_, port_;
  std::mt19937 rng_;
  std::vector<std::string> folders_;
  std::map<std::string, std::vector<std::string>> names_, children_;
  std::vector<SitePage> pages_;
  std::map<std::string, size_t> byPath_;
};

}  // namespace qs::test

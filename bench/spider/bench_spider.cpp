// Pages per second of the site import against a local nginx, beside wget's recursive
// spider on the same site in the same run.
//
//   bench_spider [--pages N]          (default 5,000)
//
// Generates a static site of about N pages (nested folders, every kind of link the import
// meets, some links to missing pages) and serves it with nginx on a free loopback port, then
//   (a) ours: the import in "justspider" mode from the site root, levels deep 10, maximum
//       pages N, one request at a time, as the import monitor runs it;
//   (b) wget --spider --recursive --level 10 over the same site, which also fetches one URL
//       at a time; once with one connection per request as ours (--no-http-keep-alive)
//       and once with its default keep-alive connection.
// Each crawl follows its own link rules, so each is measured by the URLs it requested
// itself. Also prints the time of the link pass alone (extraction, resolution, the tests
// and the duplicate index) over every page, to show that it does not dominate.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "projects/projecteditor.h"
#include "spider/importmonitor.h"
#include "spider/linkextract.h"
#include "spider/linkrules.h"
#include "spider/pagescan.h"
#include "spider/sitegen.h"
#include "spider/urlresolver.h"
#include "support/peers.h"
#include "support/tempfolder.h"

extern char** environ;

namespace {

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double CpuSeconds(const rusage& r) {
  return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
         static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

struct Figures {
  double seconds = 0, cpu = 0;
  size_t pages = 0;
  bool ok = true;
};

Figures RunOurs(const std::string& start, int maxPages) {
  qs::test::TempFolder app;
  qs::TAppState state;
  state.folder = app.AppFolder();
  qs::TScriptedAnswerer answers;
  qs::TProjectEditor editor(state, answers);
  qs::TNewProjectRecord domain;
  domain.domain = "127.0.0.1";
  editor.CreateDomain(domain);
  qs::TImportMonitor monitor(state, editor, answers);
  state.spiderOptions = {"All", "10", std::to_string(maxPages)};

  Figures f;
  QEventLoop loop;
  monitor.OnImportEnded = [&](qs::TImportEnd end) {
    f.ok = end == qs::TImportEnd::Finished;
    loop.quit();
  };
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  const double t0 = Now();
  monitor.StartImport("justspider", start, state.newProject, state.spiderOptions);
  if (monitor.Running()) loop.exec();
  f.seconds = Now() - t0;
  getrusage(RUSAGE_SELF, &after);
  f.cpu = CpuSeconds(after) - CpuSeconds(before);
  f.pages = monitor.UrlsSpidered();
  return f;
}

Figures RunWget(const std::string& start, const std::string& folder, bool keepAlive) {
  Figures f;
  const std::string log = folder + (keepAlive ? "/wget-keepalive.log" : "/wget.log");
  std::vector<std::string> args = {"wget", "--spider", "--recursive", "--level", "10",
                                   "-e", "robots=off", "--no-verbose", "--output-file", log,
                                   "--directory-prefix", folder + "/wget"};
  if (!keepAlive) args.push_back("--no-http-keep-alive");
  args.push_back(start);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const double t0 = Now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "wget", nullptr, nullptr, argv.data(), environ) != 0) {
    f.ok = false;
    return f;
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  f.seconds = Now() - t0;
  f.cpu = CpuSeconds(usage);
  // wget's exit status is 8 when it met pages that answered with an error, as ours does.
  f.ok = WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 8);
  // One line per page fetched, "<date> <time> URL:<url> [...]", and for a missing page a
  // line "Remote file does not exist -- broken link!!!".
  std::ifstream in(log);
  std::string line;
  while (std::getline(in, line))
    if (line.find(" URL:") != std::string::npos || line.find("broken link!!!") != std::string::npos)
      ++f.pages;
  return f;
}

// The link pass of every page of the site, without the network: extraction, resolution,
// the tests and the duplicate index, as the import does it for a crawl of every page.
double LinkPassSeconds(const qs::test::GeneratedSite& site, int maxPages, size_t& links) {
  qs::TImportTree tree;
  const qs::TImportLines lines{"Status: Waiting", "Level:", "Title:", "Description:", "Keywords:"};
  const double t0 = Now();
  links = 0;
  tree.Add(site.Url("/"), lines);
  for (size_t i = 0; i < tree.Count(); ++i) {
    const std::string base = tree.Node(i).url;
    const qs::test::SitePage* page = site.Find(base.substr(site.Url("").size()));
    if (!page) continue;
    for (const std::string& link : qs::ExtractLinks(page->html)) {
      ++links;
      std::string url = qs::ResolveLink(link, base);
      if (!url.empty() && tree.Count() < static_cast<size_t>(maxPages) &&
          url.find('#') == std::string::npos && qs::HasAcceptedExtension(url, "All") &&
          qs::UrlLevel(url) <= 10 && !tree.Contains(url))
        tree.Add(std::move(url), lines);
    }
  }
  return Now() - t0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int pages = 5000;
  for (int i = 1; i + 1 < argc; i += 2)
    if (!std::strcmp(argv[i], "--pages")) pages = std::atoi(argv[i + 1]);

  qs::test::NginxPeer nginx;
  if (!nginx.Problem().empty()) {
    std::fprintf(stderr, "bench_spider: %s\n", nginx.Problem().c_str());
    return 1;
  }
  // Folders four levels deep, four sub-folders each (341 folders), pages enough for N.
  const int perFolder = std::max(1, pages / 341);
  qs::test::GeneratedSite site(nginx.Base(), nginx.Port(), 4, 4, perFolder);
  for (const qs::test::SitePage& page : site.Pages()) nginx.Folder().Write("www/" + page.file, page.html);
  const std::string start = site.Url("/");
  std::printf("site: %zu pages in nested folders on %s\n", site.Pages().size(), start.c_str());

  const Figures ours = RunOurs(start, pages);
  const Figures wget = RunWget(start, nginx.Folder().Root(), false);
  const Figures wgetKeepAlive = RunWget(start, nginx.Folder().Root(), true);
  size_t links = 0;
  const double linkPass = LinkPassSeconds(site, pages, links);
  if (!wget.ok || !wgetKeepAlive.ok) std::fprintf(stderr, "bench_spider: wget failed\n");

  const double oursRate = ours.pages / ours.seconds;
  const double wgetRate = wget.pages / wget.seconds;
  const double keepRate = wgetKeepAlive.pages / wgetKeepAlive.seconds;
  std::printf("  import (justspider):         %5zu pages in %6.2f s  %7.0f pages/s  %6.1f us CPU/page%s\n",
              ours.pages, ours.seconds, oursRate, ours.cpu / ours.pages * 1e6,
              ours.ok ? "" : "  (did not finish)");
  std::printf("  wget, connection per request: %5zu pages in %6.2f s  %7.0f pages/s  %6.1f us CPU/page\n",
              wget.pages, wget.seconds, wgetRate, wget.cpu / std::max<size_t>(wget.pages, 1) * 1e6);
  std::printf("  wget, keep-alive:             %5zu pages in %6.2f s  %7.0f pages/s  %6.1f us CPU/page\n",
              wgetKeepAlive.pages, wgetKeepAlive.seconds, keepRate,
              wgetKeepAlive.cpu / std::max<size_t>(wgetKeepAlive.pages, 1) * 1e6);
  std::printf("  link pass alone: %zu links in %.3f s (%.1f%% of the import's time)\n", links,
              linkPass, 100.0 * linkPass / ours.seconds);
  std::printf("  ratio (import / wget, pages/s): %.2fx per-request connections, %.2fx keep-alive\n",
              oursRate / wgetRate, oursRate / keepRate);
  return ours.ok ? 0 : 1;
}

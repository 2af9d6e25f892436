// Requests per second of the site import against a local nginx, beside curl sending the
// same GET requests over the same URLs in the same run.
//
//   bench_spider [--pages N] [--rounds R]     (default 5,000 pages, 3 rounds)
//
// Generates a static site of about N pages (nested folders, every kind of link the import
// meets, some links to missing pages) and serves it with nginx on a free loopback port, then
// in every round, in alternating order:
//   (a) ours: the import in "justspider" mode from the site root, levels deep 10, maximum
//       pages N, one GET at a time on a connection of its own, as the import monitor runs it;
//   (b) curl: one GET for each URL the import requested, from a list, one at a time
//       (HTTP/1.0, so nginx closes every connection as it does for ours), following
//       relocations as the import's client does.
// Both fetch whole pages. Prints for both the requests per second, the CPU time per request
// and the ratio (median of the rounds; goal at least 1.0x), and the time of the link pass
// alone (extraction, resolution, the tests and the duplicate index) over every page.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
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

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

Figures RunOurs(const std::string& start, int maxPages, std::vector<std::string>* urls) {
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
  if (urls) {
    urls->clear();
    for (size_t i = 0; i < monitor.Tree().Count() && i < f.pages; ++i) urls->push_back(monitor.Tree().Node(i).url);
  }
  return f;
}

Figures RunCurl(const std::vector<std::string>& urls, const std::string& folder) {
  Figures f;
  const std::string list = folder + "/spider-urls.txt";
  {
    std::ofstream out(list);
    for (const std::string& url : urls) out << "url = \"" << url << "\"\noutput = \"/dev/null\"\n";
  }
  std::vector<std::string> args = {"curl", "--silent", "--no-progress-meter", "--http1.0", "--location",
                                   "--config", list};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const double t0 = Now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0) {
    f.ok = false;
    return f;
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  f.seconds = Now() - t0;
  f.cpu = CpuSeconds(usage);
  // curl's exit status tells only about the last transfer; a missing page is no error here.
  f.ok = WIFEXITED(status);
  f.pages = urls.size();
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
  int pages = 5000, rounds = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--pages")) pages = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--rounds")) rounds = std::max(1, std::atoi(argv[i + 1]));
  }

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

  std::vector<std::string> urls;
  RunOurs(start, pages, &urls);  // untimed: the URL list of the anchor, and a warm-up
  std::printf("the import requests %zu URLs; curl requests the same, one at a time\n", urls.size());
  std::vector<double> oursRate, curlRate, oursCpu, curlCpu, ratio;
  bool ok = true;
  for (int r = 0; r < rounds; ++r) {
    Figures ours, curl;
    if (r % 2 == 0) {
      ours = RunOurs(start, pages, nullptr);
      curl = RunCurl(urls, nginx.Folder().Root());
    } else {
      curl = RunCurl(urls, nginx.Folder().Root());
      ours = RunOurs(start, pages, nullptr);
    }
    if (!ours.ok || !curl.ok || ours.pages != urls.size()) {
      std::fprintf(stderr, "bench_spider: %s\n", !curl.ok ? "curl failed" : "the import did not finish alike");
      ok = false;
      break;
    }
    oursRate.push_back(ours.pages / ours.seconds);
    curlRate.push_back(curl.pages / curl.seconds);
    oursCpu.push_back(ours.cpu / ours.pages * 1e6);
    curlCpu.push_back(curl.cpu / curl.pages * 1e6);
    ratio.push_back(oursRate.back() / curlRate.back());
    std::printf("  round %d (%s first): import %6.0f req/s %6.1f us CPU/req | curl %6.0f req/s %6.1f us CPU/req | %.2fx\n",
                r + 1, r % 2 == 0 ? "import" : "curl", oursRate.back(), oursCpu.back(), curlRate.back(),
                curlCpu.back(), ratio.back());
    std::fflush(stdout);
  }
  if (!ok) return 1;
  size_t links = 0;
  const double linkPass = LinkPassSeconds(site, pages, links);
  std::printf("  median: import %6.0f req/s %6.1f us CPU/req | curl %6.0f req/s %6.1f us CPU/req\n",
              Median(oursRate), Median(oursCpu), Median(curlRate), Median(curlCpu));
  std::printf("  link pass alone: %zu links in %.3f s (%.1f%% of the import's time)\n", links, linkPass,
              100.0 * linkPass / (urls.size() / Median(oursRate)));
  const double m = Median(ratio);
  std::printf("  ratio import / curl (requests per second, median of the rounds): %.2fx (goal at least 1.0x: %s)\n",
              m, m >= 1.0 ? "MET" : "MISSED");
  return 0;
}

// Request rate of THttpCli against a local nginx, beside curl on the same URLs in the same
// run, over http and over https.
//
//   bench_http [--requests N] [--parallel P]     (default 10,000 and 25)
//
// Makes a test certificate authority with openssl and starts nginx on free loopback ports,
// plain and TLS (a certificate of that authority; no session cache, no tickets), then for
// each scheme
//   (a) ours: N GETs of a small page, P under way at once, one new client and one connection
//       per request, as the submission run works; over https a full handshake each;
//   (b) curl: the same N URLs with --parallel --parallel-max P over HTTP/1.0 with
//       "Connection: close", so that it too opens one connection per request, and over
//       https --no-sessionid, so that it too makes a full handshake each time.
// Both address the servers as 127.0.0.1, so neither looks a name up.
// Prints for both the requests per second (wall clock), the CPU time per request of the
// client process (user + system; nginx's share is in neither), and ours/curl of the rates.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "net/httpcli.h"
#include "net/tlstrust.h"
#include "support/peers.h"

extern char** environ;

namespace {

double CpuSeconds(const rusage& r) {
  return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
         static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Figures {
  double seconds = 0, cpu = 0;
  int failures = 0;
};

Figures RunOurs(const std::string& url, int total, int parallel) {
  Figures f;
  QEventLoop loop;
  int started = 0, finished = 0;
  std::function<void()> startOne = [&] {
    auto* cli = new qs::THttpCli;
    cli->SetURL(url);
    cli->OnRequestDone = [&](qs::THttpCli& c, qs::THttpRequest, int error) {
      if (error != 0 || c.StatusCode() != 200) ++f.failures;
      delete &c;
      if (++finished == total) loop.quit();
      else if (started < total) { ++started; startOne(); }
    };
    cli->Get();
  };
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  const double t0 = Now();
  for (; started < std::min(parallel, total);) { ++started; startOne(); }
  loop.exec();
  f.seconds = Now() - t0;
  getrusage(RUSAGE_SELF, &after);
  f.cpu = CpuSeconds(after) - CpuSeconds(before);
  return f;
}

Figures RunCurl(const std::string& url, int total, int parallel, const std::string& folder,
                const std::string& caFile) {
  Figures f;
  const std::string list = folder + "/urls.txt";
  {
    std::ofstream out(list);
    for (int i = 0; i < total; ++i) out << "url = \"" << url << "\"\noutput = /dev/null\n";
  }
  const std::string maxText = std::to_string(parallel);
  std::vector<std::string> args = {"curl", "--silent", "--show-error", "--no-progress-meter", "--http1.0",
                                   "--header", "Connection: close", "--parallel",
                                   "--parallel-max", maxText, "--config", list};
  if (!caFile.empty()) {
    // A full handshake for every request, as THttpCli makes.
    for (const char* a : {"--cacert", caFile.c_str(), "--no-sessionid"}) args.emplace_back(a);
  }
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const double t0 = Now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0) {
    f.failures = -1;
    return f;
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  f.seconds = Now() - t0;
  f.cpu = CpuSeconds(usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) f.failures = 1;
  return f;
}

// One curl run of the comparison: what curl trusts ("" for plain http), and its label.
struct CurlTrust {
  std::string caFile;
  const char* label;
};

bool Compare(const char* title, const std::string& url, int total, int parallel,
             const std::string& folder, const std::vector<CurlTrust>& curls) {
  RunOurs(url, 200, parallel);  // warm-up
  const Figures ours = RunOurs(url, total, parallel);
  const double oursRate = total / ours.seconds;
  std::printf("%s: %d GETs of %s, %d in flight, one connection each\n", title, total, url.c_str(),
              parallel);
  std::printf("  THttpCli: %8.0f req/s  %7.1f us CPU/request  (%d failed)\n", oursRate,
              ours.cpu / total * 1e6, ours.failures);
  for (const CurlTrust& trust : curls) {
    const Figures curl = RunCurl(url, total, parallel, folder, trust.caFile);
    if (curl.failures < 0) {
      std::fprintf(stderr, "bench_http: curl cannot be started\n");
      return false;
    }
    const double curlRate = total / curl.seconds;
    std::printf("  curl%s:%*s %8.0f req/s  %7.1f us CPU/request%s\n", trust.label,
                static_cast<int>(5 - std::min<size_t>(5, std::strlen(trust.label))), "", curlRate,
                curl.cpu / total * 1e6, curl.failures ? "  (curl reported errors)" : "");
    std::printf("  ratio (THttpCli / curl%s, req/s): %.2fx (goal at least 1.0: %s)\n", trust.label,
                oursRate / curlRate, oursRate / curlRate >= 1.0 ? "MET" : "MISSED");
    std::fflush(stdout);
  }
  return ours.failures == 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int total = 10000, parallel = 25;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--requests")) total = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--parallel")) parallel = std::atoi(argv[i + 1]);
  }
  qs::test::TestCa ca;
  if (!ca.Problem().empty()) {
    std::fprintf(stderr, "bench_http: %s\n", ca.Problem().c_str());
    return 1;
  }
  qs::test::NginxPeer nginx({ca.Localhost()});
  if (!nginx.Problem().empty()) {
    std::fprintf(stderr, "bench_http: %s\n", nginx.Problem().c_str());
    return 1;
  }
  qs::SetExtraCaFile(ca.CaFile());
  const std::string folder = nginx.Folder().Root();
  bool ok = Compare("http", nginx.Base() + "/page.html", total, parallel, folder, {{"", ""}});
  // THttpCli trusts the system's store plus the test authority (the cafile setting); curl
  // trusts the test authority alone, the least it needs. (Given the system's bundle as well,
  // curl reads all of it for every connection and becomes many times slower: no anchor.)
  ok = Compare("https", nginx.TlsBase(0, "127.0.0.1") + "/page.html", total, parallel, folder,
               {{ca.CaFile(), ""}}) && ok;
  return ok ? 0 : 1;
}

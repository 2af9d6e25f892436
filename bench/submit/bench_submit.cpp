// A whole submission run against curl sending the same requests to the same server.
//
//   bench_submit [--engines N]... [--rounds R]      (default 1,000, 10,000 and 50,000; 5 rounds)
//
// The practice server runs as a process of its own and answers every request at once. For
// each size N an application folder is made from the installation data (the shipped
// category.zro among it) with one project (category "Computers") and N due GET engines of
// which one in four has a category type, Ports 25, report on. Then, in every round, in
// alternating order:
//   ours: `quorvex-summit --home FOLDER submit --yes bench.example`, the headless run, a
//         process of its own from start to exit (start-up, the run, report and history);
//   curl: `curl --parallel --parallel-max 25 --http1.0` over the very URLs the run sends
//         (read from a config file), with the run's User-Agent and Accept; one connection
//         per request, as the server closes each after its answer.
// For both it prints the rate (requests per second, wall clock from start to exit), the CPU
// time per request (user + system of the process) and the peak resident memory (as GNU time
// reports it), and their medians over the rounds; the ratio is the median of the rounds'
// ratios of the rates.
// Goals: at least 1.0x curl at 10,000 engines; the cost grows linearly: our CPU per request
// grows from 10,000 to the largest size by at most 10 % more than curl's does (the kernel's
// cost per connection grows for both with the connections closed just before); peak memory
// at 50,000 under 60 MB and under 0.6 KB more per engine than at the smallest size.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/appfolder.h"
#include "engines/enginecatalogue.h"
#include "enginetable.h"
#include "submit/requestbuilder.h"

extern char** environ;

namespace {

const char* Verdict(bool met) { return met ? "MET" : "MISSED"; }

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double CpuSeconds(const rusage& r) {
  return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
         static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

void Write(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct Figures {
  double seconds = 0, cpu = 0, peakMb = 0;
  bool ok = false;
};

// Runs a program to its end with its standard output in `outFile`: its wall time, CPU time
// and peak memory. The program runs under GNU time, which reports its peak memory: the
// peak the kernel gives for a process started straight from this one would be at least the
// memory of this process (a child counts the memory it shared with its parent before it
// started its program).
Figures Spawn(const std::vector<std::string>& command, const std::string& outFile, const std::string& scratch) {
  Figures f;
  const std::string peakFile = scratch + "/peak.txt";
  std::vector<std::string> args = {"time", "--format", "%M", "--output", peakFile};
  args.insert(args.end(), command.begin(), command.end());
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const double t0 = Now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return f;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);  // the CPU time of GNU time and of the program it waited for
  f.seconds = Now() - t0;
  f.cpu = CpuSeconds(usage);
  f.peakMb = std::atof(ReadAll(peakFile).c_str()) / 1024.0;
  f.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && f.peakMb > 0;
  return f;
}

constexpr char kProject[] =
    "[Index]\r\nurl=http://bench.example/\r\ntitle=Bench\r\ndescription=A bench site\r\n"
    "catagory=Computers\r\nsubmitengines=-1\r\nsubmitcustom=0\r\ngenreport=-1\r\n";

// The application folder of one size: installation data, the project, the engine table.
void Prepare(const std::string& root, const std::string& table) {
  std::filesystem::copy(QS_SOURCE_DIR "/data", root,
                        std::filesystem::copy_options::recursive |
                            std::filesystem::copy_options::overwrite_existing);
  Write(root + "/dfd.ini", "[Application]\r\nupdate=1\r\nports=25\r\ntimeout=120\r\n");
  Write(root + "/data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nbench.example\r\n");
  Write(root + "/data/domains/bench.example.zro", "[Session]\r\nCount=1\r\n[List]\r\nIndex\r\n");
  Write(root + "/data/data.czc", table);
  Write(root + "/data/datac.czc", "");
}

// Before each run: the project as it was (a run writes its dates), no history or report.
void ResetProject(const std::string& root) {
  const std::string folder = root + "/data/domains/projects/bench.example";
  std::filesystem::remove_all(folder);
  Write(folder + "/Index.zro", kProject);
}

struct Size {
  int engines = 0;
  std::vector<double> oursRate, curlRate, oursCpu, curlCpu, oursPeak, curlPeak, ratio;
};

bool RunSize(Size& s, int rounds, const std::string& base, const std::string& scratch) {
  qs::practice::TGeneratorMix mix;
  mix.behaviours = {"ok"};
  mix.kinds = {"ENGINE"};
  mix.frequencies = {""};
  mix.methods = {"GET"};
  std::string table;
  for (const auto& line : qs::practice::GenerateEngineTable(s.engines, base, mix)) table += line;
  const std::string root = scratch + "/app" + std::to_string(s.engines);
  Prepare(root, table);
  ResetProject(root);

  // The URLs the run sends, built by the run's own builder from the same folder.
  const std::string config = scratch + "/curl" + std::to_string(s.engines) + ".txt";
  int categorised = 0;
  {
    const qs::TAppFolder folder(root);
    qs::TRequestBuilder builder(folder);
    qs::TEngineCatalogue catalogue;
    catalogue.Open(folder);
    std::string text;
    qs::TSdfDataSet& t = catalogue.EnginesTable;
    const int catType = t.FieldIndex("cat_type");
    for (t.First(); !t.Eof(); t.Next()) {
      if (!t.Fields(catType).AsString().empty()) ++categorised;
      const qs::TBuiltRequest r =
          builder.Build("bench.example", "Index", t, qs::TEngineTable::Main, QDate::currentDate());
      text += "url = \"" + r.url + "\"\noutput = \"/dev/null\"\n";
    }
    catalogue.Close();
    Write(config, text);
  }
  std::printf("\n%d engines (%d with a category type), %d rounds\n", s.engines, categorised, rounds);

  const std::string outFile = scratch + "/out.txt";
  for (int r = 0; r < rounds; ++r) {
    Figures ours, curl;
    auto runOurs = [&] {
      ResetProject(root);
      ours = Spawn({QS_PROGRAM, "--home", root, "submit", "--yes", "bench.example"}, outFile, scratch);
      // Every engine must have answered OK: one row line each ending in a tab and OK.
      const std::string out = ReadAll(outFile);
      size_t okRows = 0;
      for (size_t at = out.find("\tOK\n"); at != std::string::npos; at = out.find("\tOK\n", at + 1)) ++okRows;
      if (okRows != static_cast<size_t>(s.engines)) {
        std::fprintf(stderr, "bench_submit: the run answered %zu of %d engines OK\n", okRows, s.engines);
        ours.ok = false;
      }
    };
    auto runCurl = [&] {
      curl = Spawn({"curl", "--silent", "--show-error", "--no-progress-meter", "--http1.0", "--parallel", "--parallel-max", "25",
                    "--user-agent", "Mozilla/3.0 (compatible)", "--header",
                    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*", "--config", config},
                   "/dev/null", scratch);
    };
    if (r % 2 == 0) {
      runOurs();
      runCurl();
    } else {
      runCurl();
      runOurs();
    }
    if (!ours.ok || !curl.ok) {
      std::fprintf(stderr, "bench_submit: %s failed in round %d\n", ours.ok ? "curl" : "the run", r + 1);
      return false;
    }
    const double n = s.engines;
    s.oursRate.push_back(n / ours.seconds);
    s.curlRate.push_back(n / curl.seconds);
    s.oursCpu.push_back(ours.cpu / n * 1e6);
    s.curlCpu.push_back(curl.cpu / n * 1e6);
    s.oursPeak.push_back(ours.peakMb);
    s.curlPeak.push_back(curl.peakMb);
    s.ratio.push_back(s.oursRate.back() / s.curlRate.back());
    std::printf("  round %d (%s first): ours %7.0f req/s %6.1f us CPU/req %6.1f MB | curl %7.0f req/s "
                "%6.1f us CPU/req %6.1f MB | %.2fx\n",
                r + 1, r % 2 == 0 ? "ours" : "curl", s.oursRate.back(), s.oursCpu.back(), ours.peakMb,
                s.curlRate.back(), s.curlCpu.back(), curl.peakMb, s.ratio.back());
    std::fflush(stdout);
  }
  std::printf("  median: ours %7.0f req/s %6.1f us CPU/req %6.1f MB | curl %7.0f req/s %6.1f us CPU/req "
              "%6.1f MB\n",
              Median(s.oursRate), Median(s.oursCpu), Median(s.oursPeak), Median(s.curlRate),
              Median(s.curlCpu), Median(s.curlPeak));
  const double ratio = Median(s.ratio);
  if (s.engines == 10000)
    std::printf("  ratio ours / curl (median of the rounds): %.2fx (goal at least 1.0x at 10,000: %s)\n", ratio,
                Verdict(ratio >= 1.0));
  else
    std::printf("  ratio ours / curl (median of the rounds): %.2fx\n", ratio);
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<int> sizes;
  int rounds = 5;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--engines" && i + 1 < argc) sizes.push_back(std::max(1, std::atoi(argv[++i])));
    else if (a == "--rounds" && i + 1 < argc) rounds = std::max(1, std::atoi(argv[++i]));
    else {
      std::fprintf(stderr, "usage: bench_submit [--engines N]... [--rounds R]\n");
      return 2;
    }
  }
  if (sizes.empty()) sizes = {1000, 10000, 50000};
  std::sort(sizes.begin(), sizes.end());

  QProcess server;
  server.start(QStringLiteral(QS_PRACTICE_SERVER), {});
  if (!server.waitForStarted() || !server.waitForReadyRead(5000)) {
    std::fprintf(stderr, "bench_submit: the practice server did not start\n");
    return 1;
  }
  const std::string base = "http://127.0.0.1:" + server.readLine().trimmed().toStdString();
  QTemporaryDir scratch;
  std::printf("practice server on %s, a process of its own; Ports 25; curl %s\n", base.c_str(),
              "--parallel --parallel-max 25 --http1.0");

  std::vector<Size> results;
  bool ok = true;
  for (int n : sizes) {
    Size s;
    s.engines = n;
    if (!RunSize(s, rounds, base, scratch.path().toStdString())) {
      ok = false;
      break;
    }
    results.push_back(std::move(s));
  }
  server.kill();
  server.waitForFinished();
  if (!ok) return 1;

  std::printf("\n");
  const Size* at10k = nullptr;
  for (const Size& s : results)
    if (s.engines == 10000) at10k = &s;
  const Size& smallest = results.front();
  const Size& largest = results.back();
  if (at10k && largest.engines > 10000) {
    const double ours = Median(largest.oursCpu) / Median(at10k->oursCpu);
    const double curl = Median(largest.curlCpu) / Median(at10k->curlCpu);
    std::printf("CPU per request at %d / at 10,000: ours %.2fx, curl %.2fx (linear, goal ours at most "
                "1.1 x curl's: %s)\n",
                largest.engines, ours, curl, Verdict(ours <= 1.1 * curl));
  }
  if (largest.engines == 50000) {
    const double peak = Median(largest.oursPeak);
    std::printf("peak memory at 50,000: %.1f MB (goal under 60 MB: %s)\n", peak, Verdict(peak < 60));
  }
  if (largest.engines > smallest.engines) {
    const double perEngine = (Median(largest.oursPeak) - Median(smallest.oursPeak)) * 1024.0 /
                             (largest.engines - smallest.engines);
    std::printf("memory growth from %d to %d engines: %.2f KB per engine (goal under 0.6 KB: %s)\n",
                smallest.engines, largest.engines, perEngine, Verdict(perEngine < 0.6));
  }
  return 0;
}

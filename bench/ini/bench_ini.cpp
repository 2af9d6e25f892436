// Speed of the INI store on a large file, against Qt's QSettings and against the bare cost
// of reading the file's lines.
//
//   bench_ini [--reps N] [--dir FOLDER]
//
// Generates an INI file of 5,000 sections of 30 keys in a new temporary folder (inside
// FOLDER, else $TMPDIR or /tmp; removed at the end) and times, N times each (default 9):
//   (a) ours:      open a TBigIniFile, ReadText every key of every section in file order,
//                  Close();
//   (b) QSettings: the same reads through QSettings(path, QSettings::IniFormat), keys
//                  "section/key", value().toString();
//   (c) floor:     read the file into a std::vector<std::string> of its lines;
//   (d) ours:      open, change one value, Close() (the whole file is written and synced).
// The keys come from the generator, never from the store. Every measurement is preceded by
// one untimed run; the best and the median of the N timed runs are printed, as milliseconds
// and as MB/s of the file (1 MB = 10^6 bytes).
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSettings>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "store/biginifile.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSections = 5000;
constexpr const char* kKeys[] = {
    "url",     "title",   "category", "charset",  "method",   "query",    "suffix",  "homepage",
    "icon",    "colour",  "enabled",  "order",    "lastused", "hits",     "timeout", "useragent",
    "referer", "cookie",  "post",     "prefix",   "results",  "language", "region",  "safesearch",
    "proxy",   "retries", "notes",    "shortcut", "version",  "updated"};
constexpr int kKeyCount = static_cast<int>(sizeof kKeys / sizeof kKeys[0]);
static_assert(kKeyCount == 30);

struct Generated {
  std::vector<std::string> sections;
  std::vector<std::vector<std::string>> values;  // [section][key]
  std::string bytes;                             // the file
  size_t valueBytes = 0;
};

// Values of 10 to 40 bytes that every INI reader takes literally: no quotes, backslashes,
// commas, semicolons, percent signs, nor blanks at either end.
std::string MakeValue(std::mt19937& rng, int key) {
  static constexpr char kAlnum[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::uniform_int_distribution<int> lengthOf(10, 40);
  std::uniform_int_distribution<int> charOf(0, static_cast<int>(sizeof kAlnum) - 2);
  const size_t length = static_cast<size_t>(lengthOf(rng));
  std::string v;
  if (std::string_view(kKeys[key]) == "url") {
    v = "https://";
  } else if (std::string_view(kKeys[key]) == "homepage") {
    v = "http://www.";
  }
  while (v.size() < length) {
    if (std::string_view(kKeys[key]) == "title" && v.size() > 2 && v.size() + 1 < length &&
        rng() % 6 == 0 && v.back() != ' ') {
      v += ' ';
      continue;
    }
    if (std::string_view(kKeys[key]) == "url" && v.size() > 12 && rng() % 8 == 0 &&
        v.back() != '/') {
      v += (rng() % 2) ? '/' : '.';
      continue;
    }
    v += kAlnum[charOf(rng)];
  }
  if (v.back() == ' ' || v.back() == '/' || v.back() == '.') v.back() = 'x';
  return v;
}

Generated Generate() {
  Generated g;
  std::mt19937 rng(20240611u);
  g.sections.reserve(kSections);
  g.values.resize(kSections);
  for (int s = 0; s < kSections; ++s) {
    g.sections.push_back("engine" + std::to_string(1000 + s));
    g.bytes += "[" + g.sections.back() + "]\r\n";
    for (int k = 0; k < kKeyCount; ++k) {
      g.values[s].push_back(MakeValue(rng, k));
      g.valueBytes += g.values[s].back().size();
      g.bytes.append(kKeys[k]).append("=").append(g.values[s].back()).append("\r\n");
    }
    g.bytes += "\r\n";
  }
  return g;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "bench_ini: cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

// The floor: the file's lines, each in its own string, CR LF or LF ending a line.
std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) std::exit(1);
  std::string bytes;
  bytes.resize(static_cast<size_t>(::lseek(fd, 0, SEEK_END)));
  ::lseek(fd, 0, SEEK_SET);
  size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  while (p < end) {
    auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* stop = lf ? lf : end;
    const char* text_end = (stop > p && stop[-1] == '\r') ? stop - 1 : stop;
    lines.emplace_back(p, text_end);
    p = lf ? lf + 1 : end;
  }
  return lines;
}

struct Figures {
  double best = 0;    // seconds
  double median = 0;  // seconds
};

Figures Measure(int reps, const std::function<void(int)>& run) {
  run(reps);  // untimed
  std::vector<double> times;
  for (int i = 0; i < reps; ++i) {
    auto t0 = Clock::now();
    run(i);
    auto t1 = Clock::now();
    times.push_back(std::chrono::duration<double>(t1 - t0).count());
  }
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2]};
}

size_t g_sink = 0;  // keeps the reads from being optimised away

void Row(const char* label, const Figures& f, size_t bytes) {
  const double mb = static_cast<double>(bytes) / 1e6;
  std::printf("  %-44s %9.2f %9.2f %9.1f %9.1f\n", label, f.best * 1e3, f.median * 1e3, mb / f.best,
              mb / f.median);
}

void Ratio(const char* label, double best, double median, const char* goal, bool met) {
  std::printf("  %-30s %6.2fx median  (%5.2fx best)   goal %s: %s\n", label, median, best, goal,
              met ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  int reps = 9;
  std::string root;
  if (const char* t = std::getenv("TMPDIR"); t && *t) root = t;
  if (root.empty()) root = "/tmp";
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    if (a == "--reps" && i + 1 < argc) {
      reps = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--dir" && i + 1 < argc) {
      root = argv[++i];
    } else {
      std::fprintf(stderr, "usage: bench_ini [--reps N] [--dir FOLDER]\n");
      return 2;
    }
  }
  QCoreApplication app(argc, argv);

  std::string pattern = root + "/bench_ini.XXXXXX";
  if (!::mkdtemp(pattern.data())) {
    std::perror("bench_ini: mkdtemp");
    return 1;
  }
  const std::string folder = pattern;

  const Generated g = Generate();
  const size_t size = g.bytes.size();
  const std::string path = folder + "/engines.ini";
  WriteFile(path, g.bytes);
  // QSettings keeps the files it parsed in a process-wide cache: every QSettings run gets a
  // file of its own so that each one really parses.
  std::vector<std::string> qtPaths;
  for (int i = 0; i <= reps; ++i) {
    qtPaths.push_back(folder + "/qt" + std::to_string(i) + ".ini");
    WriteFile(qtPaths.back(), g.bytes);
  }
  const std::string savePath = folder + "/save.ini";
  WriteFile(savePath, g.bytes);

  std::vector<QString> qtKeys;
  qtKeys.reserve(static_cast<size_t>(kSections * kKeyCount));
  for (const auto& s : g.sections)
    for (const char* k : kKeys) qtKeys.push_back(QString::fromStdString(s + "/" + k));

  // Both readers must give back every generated value.
  {
    qs::TBigIniFile ini(path);
    QSettings qt(QString::fromStdString(qtPaths[0]), QSettings::IniFormat);
    size_t wrong = 0;
    for (int s = 0; s < kSections; ++s)
      for (int k = 0; k < kKeyCount; ++k) {
        const std::string& v = g.values[static_cast<size_t>(s)][static_cast<size_t>(k)];
        if (ini.ReadText(g.sections[static_cast<size_t>(s)], kKeys[k], "") != v) ++wrong;
        if (qt.value(qtKeys[static_cast<size_t>(s * kKeyCount + k)]).toString().toStdString() != v)
          ++wrong;
      }
    ini.Close();
    if (wrong) {
      std::fprintf(stderr, "bench_ini: %zu values read back wrong\n", wrong);
      return 1;
    }
  }

  const Figures ours = Measure(reps, [&](int) {
    qs::TBigIniFile ini(path);
    for (size_t s = 0; s < g.sections.size(); ++s)
      for (const char* k : kKeys) g_sink += ini.ReadText(g.sections[s], k, "").size();
    ini.Close();
  });
  const Figures qt = Measure(reps, [&](int i) {
    QSettings settings(QString::fromStdString(qtPaths[static_cast<size_t>(i)]),
                       QSettings::IniFormat);
    for (const auto& key : qtKeys)
      g_sink += static_cast<size_t>(settings.value(key).toString().size());
  });
  const Figures floor = Measure(reps, [&](int) { g_sink += ReadLines(path).size(); });
  const Figures save = Measure(reps, [&](int i) {
    qs::TBigIniFile ini(savePath);
    ini.WriteText("engine3500", "title", "Changed title " + std::to_string(i));
    ini.Close();
  });

  std::printf("INI store benchmark: %d sections x %d keys, %zu bytes (%.2f MB, values %zu bytes)\n",
              kSections, kKeyCount, size, static_cast<double>(size) / 1e6, g.valueBytes);
  std::printf("  folder %s, %d timed runs each after one untimed run\n\n", folder.c_str(), reps);
  std::printf("  %-44s %9s %9s %9s %9s\n", "", "best ms", "median ms", "best MB/s", "med MB/s");
  Row("(a) ours: open + ReadText every key", ours, size);
  Row("(b) QSettings: open + value() every key", qt, size);
  Row("(c) floor: read the file into lines", floor, size);
  Row("(d) ours: open + WriteText one key + Close", save, size);
  std::printf("\n");
  Ratio("QSettings time / ours (a)", qt.best / ours.best, qt.median / ours.median, ">= 3x",
        qt.median / ours.median >= 3.0);
  Ratio("ours (a) / floor time", ours.best / floor.best, ours.median / floor.median, "<= 2x",
        ours.median / floor.median <= 2.0);

  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return g_sink == 0 ? 1 : 0;
}

// Fuzz target for the scheduled list.
//
// The input is the schedule file \data\schedule.sch of an application folder holding two
// projects of dom.example (/a.htm never submitted, /b.htm submitted). The list is built as of
// a fixed day.
//
// Checked, with a trap on the first failure:
//   - building throws nothing (every entry that cannot be read becomes a problem);
//   - the rows are in ascending order of their moments, and each row's sortdate is the
//     decimal DOS date-time of its moment;
//   - every row belongs to one of the two projects; the other entries of the file are
//     problems, dropped (their project file is missing) or not listed;
//   - building again gives the same rows: the first build's changes to the file are final.
#include <unistd.h>

#include <QDate>
#include <QLocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "platform/filesystem.h"
#include "schedule/scheduledlist.h"

namespace {

// Kept for the whole run; removed at exit (a plain buffer, alive when the exit handler runs).
char rootPath[] = "/tmp/fuzz_schedule.XXXXXX";

const std::string& Root() {
  static const std::string root = [] {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (!mkdtemp(rootPath)) std::abort();
    const std::string r = rootPath;
    const std::string projects = r + "/data/domains/projects/dom.example";
    std::filesystem::create_directories(projects);
    qs::WriteFileAtomically(projects + "/_a.htm.zro", "[_a.htm]\r\nurl=http://dom.example/a.htm\r\n");
    qs::WriteFileAtomically(projects + "/_b.htm.zro",
                            "[_b.htm]\r\nurl=http://dom.example/b.htm\r\nlastsub=12/1/2026\r\n");
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(rootPath, ignored);
    });
    return r;
  }();
  return root;
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const qs::TAppFolder folder(Root());
  const std::string file = folder.Path("\\data\\schedule.sch");
  qs::WriteFileAtomically(file, std::string(reinterpret_cast<const char*>(data), size));
  const QDate today(2026, 12, 10);
  qs::ScheduledList list, again;
  try {
    list.Build(folder, today);
    again.Build(folder, today);
  } catch (const std::exception&) {
    Check(false);
  }
  Check(list.Count() == again.Count());
  for (size_t i = 0; i < list.Rows().size(); ++i) {
    const qs::ScheduledRow& r = list.Rows()[i];
    Check(r.domain == "dom.example");
    // The names whose ProjectKey is one of the two files'.
    Check(r.project == "/a.htm" || r.project == "_a.htm" || r.project == "/b.htm" ||
          r.project == "_b.htm");
    Check(r.sortdate == std::to_string(qs::DosDateTime(r.moment)));
    Check(r.moment == again.Rows()[i].moment && r.project == again.Rows()[i].project);
    if (i > 0) Check(qs::DosDateTime(list.Rows()[i - 1].moment) <= qs::DosDateTime(r.moment));
  }
  return 0;
}

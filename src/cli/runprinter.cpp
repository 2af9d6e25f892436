#include "cli/runprinter.h"

#include "app/summit.h"

#include <ostream>

#include "cli/terminalanswerer.h"
#include "projects/domainstore.h"
#include "projects/naming.h"
#include "submit/runcontrol.h"

namespace qs {

namespace {
std::string ImageWord(TRowImage image) {
  switch (image) {
    case TRowImage::Ok: return "OK";
    case TRowImage::Failed: return "Failed";
    case TRowImage::TimedOut: return "Timeout";
    case TRowImage::Skipped: return "Skipped";
    default: return "";
  }
}
}  // namespace

void PrintRunProgress(TRunControl& run, std::ostream& out, int* failedEntries) {
  run.OnRowDecided = [&run, &out](size_t i) {
    const ActivityRow& r = run.Rows()[i];
    out << r.engine << '\t' << r.url << '\t' << r.result << '\t' << r.type << '\t'
        << ImageWord(r.image) << '\n';
  };
  run.OnReportWritten = [&out](const std::string& path) { out << "Report: " << path << '\n'; };
  run.OnEntryEnded = [&out, failedEntries](const RunEntry& e) {
    out << e.DisplayText() << '\n';
    for (const std::string& line : e.lines) out << "  " << TTerminalAnswerer::PlainText(line) << '\n';
    if (!e.historyFile.empty())
      out << "History: " << e.historyFile << '\n';
    else
      out << "History: not written\n";
    for (const std::string& error : e.completionErrors) out << "Not written: " << error << '\n';
    if (failedEntries && !e.completionErrors.empty()) ++*failedEntries;
    out.flush();
  };
}

namespace {

TConnectionSettings StoredConnection(const TAppFolder& folder) {
  TConnectionSettings connection(folder);
  connection.ReadTimeoutsPorts();
  return connection;
}

}  // namespace

TCommandRun::TCommandRun(TSummit& summit, IDialogs& dialogs, std::ostream& out)
    : connection(StoredConnection(summit.state.folder)),
      run(summit.state, summit.catalogue, connection, dialogs, internet) {
  PrintRunProgress(run, out, &failedEntries);
}

}  // namespace qs

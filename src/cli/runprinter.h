// The run of the commands that submit, and what they print: each decided row, each written
// report and each ended entry's summary with its history file.
#pragma once

#include <iosfwd>

#include "app/appfolder.h"
#include "net/connectionsettings.h"
#include "platform/internetconnection.h"
#include "submit/runcontrol.h"

namespace qs {

class TSummit;

// Sets the run's OnRowDecided, OnReportWritten and OnEntryEnded to print to `out`; an
// ended entry whose dates, report or history could not be written (each printed as "Not
// written: ...") adds one to *failedEntries.
void PrintRunProgress(TRunControl& run, std::ostream& out, int* failedEntries = nullptr);

// A started program's run with the stored time-out and ports and the platform's connection
// state, printing its progress to `out`.
struct TCommandRun {
  TCommandRun(TSummit& summit, IDialogs& dialogs, std::ostream& out);
  TConnectionSettings connection;
  TPlatformInternetConnection internet;
  TRunControl run;
  int failedEntries = 0;  // entries whose end could not be written whole
};

}  // namespace qs

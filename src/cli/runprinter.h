// What the commands that run submissions print: each decided row, each written report and
// each ended entry's summary with its history file.
#pragma once

#include <iosfwd>

#include "app/appfolder.h"

namespace qs {

class TRunControl;

// Sets the run's OnRowDecided, OnReportWritten and OnEntryEnded to print to `out`.
void PrintRunProgress(TRunControl& run, const TAppFolder& folder, std::ostream& out);

}  // namespace qs

// The engine catalogue: the main and the custom engine table, open for the program's whole
// life and shared by every user (record editor, counters, submission walk, updater), with
// their type views, counters and the defaults of a new record.
#pragma once

#include <QTimer>
#include <functional>
#include <string>

#include "app/appfolder.h"
#include "store/sdfdataset.h"

namespace qs {

enum class TTypeView { AllTypes, Engines, Ffa, Networks };

struct TEngineCounters {
  int total = 0;
  int engines = 0;
  int ffa = 0;
  int networks = 0;
  int networkTotal = 0;  // the sum of e_count over NETWORKS records
  bool operator==(const TEngineCounters&) const = default;
};

inline constexpr std::string_view kMainTableFile = "\\data\\data.czc";
inline constexpr std::string_view kCustomTableFile = "\\data\\datac.czc";

class TEngineCatalogue {
 public:
  TEngineCatalogue();
  ~TEngineCatalogue();

  TSdfDataSet EnginesTable;  // \data\data.czc
  TSdfDataSet CustomTable;   // \data\datac.czc

  // The language setting (db_type of new records) and the application title (the RQZWEB rule).
  std::string languageName = "english";
  std::string applicationTitle;

  // Opens both tables and counts both, the main table first. Throws IoError "Cannot open
  // file %s" for a table that cannot be opened, ConversionError from the counting.
  void Open(const TAppFolder& folder);
  // Closes both tables, writing what changed.
  void Close();

  void SelectView(TSdfDataSet& table, TTypeView view);
  TTypeView View(const TSdfDataSet& table) const;

  // Recomputes the table's counters over the records its view shows and goes back to the
  // first record. A NETWORKS record whose e_count is not a whole number throws
  // ConversionError and the counters keep their previous values.
  const TEngineCounters& Count(TSdfDataSet& table);
  const TEngineCounters& Counters(const TSdfDataSet& table) const;

  // Told after a table's counters changed.
  std::function<void(TSdfDataSet&)> OnCountsChanged;

  // A posted or deleted record is written to its table's file kSaveDelayMs after the last
  // such change, with the table left open: a crash then loses nothing posted before that,
  // and a burst of edits writes the file once.
  static constexpr int kSaveDelayMs = 1000;
  // Writes every table with a change not yet on disk. Failures go to OnSaveError (the
  // table stays modified, so the next save or its close tries again).
  void SaveNow();
  bool SavePending() const { return saveTimer_.isActive(); }
  std::function<void(const std::string& failure)> OnSaveError;

 private:
  struct TableState {
    TTypeView view = TTypeView::AllTypes;
    TEngineCounters counters;
  };
  TableState& StateOf(const TSdfDataSet& table);
  const TableState& StateOf(const TSdfDataSet& table) const;
  void SetUp(TSdfDataSet& table);
  void ApplyRqzwebRule();

  TableState main_, custom_;
  bool counting_ = false;
  QTimer saveTimer_;
};

}  // namespace qs

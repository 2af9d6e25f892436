#include "engines/enginecatalogue.h"

#include "engines/enginefields.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace qs {

TEngineCatalogue::TEngineCatalogue() {
  SetUp(EnginesTable);
  SetUp(CustomTable);
  saveTimer_.setSingleShot(true);
  saveTimer_.setInterval(kSaveDelayMs);
  QObject::connect(&saveTimer_, &QTimer::timeout, [this] { SaveNow(); });
}

void TEngineCatalogue::SaveNow() {
  saveTimer_.stop();
  for (TSdfDataSet* table : {&EnginesTable, &CustomTable}) {
    try {
      table->SaveToDisk();
    } catch (const std::exception& e) {
      if (OnSaveError) OnSaveError(e.what());
    }
  }
}

TEngineCatalogue::~TEngineCatalogue() = default;

void TEngineCatalogue::SetUp(TSdfDataSet& table) {
  table.SetFileMustExist(true);
  table.SetReadOnly(false);
  table.SetDelimiter(',');
  table.SetFirstLineAsSchema(false);
  table.SetSchema(EngineSchema());
  table.SetFiltered(true);
  table.SetFilter("");
  // An empty filter accepts every record; otherwise enginetype must equal it exactly.
  table.OnFilterRecord = [](TFixedFormatDataSet& t, bool& accept) {
    accept = t.Filter().empty() || t.FieldByName("enginetype").AsString() == t.Filter();
  };
  table.AfterInsert = [this](TFixedFormatDataSet& t) {
    for (const TEngineColumn& c : EngineColumns()) {
      if (c.languageValue)
        t.FieldByName(c.name).SetAsString(languageName);
      else if (!c.newValue.empty())
        t.FieldByName(c.name).SetAsString(c.newValue);
    }
  };
  auto recount = [this, &table](TFixedFormatDataSet&) {
    if (counting_) return;
    saveTimer_.start();  // a user's post or delete, not the counting's own rule
    Count(table);
  };
  table.AfterPost = recount;
  table.AfterDelete = recount;
}

TEngineCatalogue::TableState& TEngineCatalogue::StateOf(const TSdfDataSet& table) {
  return &table == &EnginesTable ? main_ : custom_;
}
const TEngineCatalogue::TableState& TEngineCatalogue::StateOf(const TSdfDataSet& table) const {
  return &table == &EnginesTable ? main_ : custom_;
}

void TEngineCatalogue::Open(const TAppFolder& folder) {
  EnginesTable.SetFileName(folder.Path(kMainTableFile));
  CustomTable.SetFileName(folder.Path(kCustomTableFile));
  EnginesTable.Open();
  CustomTable.Open();
  Count(EnginesTable);
  Count(CustomTable);
}

void TEngineCatalogue::Close() {
  saveTimer_.stop();  // closing writes what changed
  EnginesTable.Close();
  CustomTable.Close();
}

void TEngineCatalogue::SelectView(TSdfDataSet& table, TTypeView view) {
  StateOf(table).view = view;
  if (view == TTypeView::AllTypes) {
    table.Close();
    table.SetFilter("");
    table.SetFiltered(false);
    table.Open();
    return;
  }
  table.SetFilter(view == TTypeView::Engines ? "ENGINE" : view == TTypeView::Ffa ? "FFA" : "NETWORKS");
  table.SetFiltered(true);
  table.Refresh();
}

TTypeView TEngineCatalogue::View(const TSdfDataSet& table) const { return StateOf(table).view; }

void TEngineCatalogue::ApplyRqzwebRule() {
  if (applicationTitle.find("RQZ") == std::string::npos) return;
  // A failed search leaves the cursor at the end; only an exact name is removed.
  EnginesTable.Locate("e_name", {"RQZWEB"}, {.caseInsensitive = true});
  if (!EnginesTable.IsEmpty() && EnginesTable.FieldByName("e_name").AsString() == "RQZWEB")
    EnginesTable.Delete();
}

const TEngineCounters& TEngineCatalogue::Count(TSdfDataSet& table) {
  struct Guard {
    bool& flag;
    explicit Guard(bool& f) : flag(f) { flag = true; }
    ~Guard() { flag = false; }
  } guard(counting_);
  if (&table == &EnginesTable) ApplyRqzwebRule();

  const int type = table.FieldIndex("enginetype");
  const int count = table.FieldIndex("e_count");
  TEngineCounters c;
  long long networkTotal = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    const std::string kind = table.FieldText(type);
    if (kind == "ENGINE") {
      ++c.engines;
    } else if (kind == "FFA") {
      ++c.ffa;
    } else if (kind == "NETWORKS") {
      ++c.networks;
      networkTotal += NetworkSize(table.Fields(count).AsInteger());
    }
  }
  table.First();
  constexpr long long kMost = std::numeric_limits<int>::max();
  c.networkTotal = static_cast<int>(std::min(networkTotal, kMost));
  c.total = static_cast<int>(std::min<long long>(c.engines + c.ffa + networkTotal - c.networks, kMost));
  StateOf(table).counters = c;
  if (OnCountsChanged) OnCountsChanged(table);
  return StateOf(table).counters;
}

const TEngineCounters& TEngineCatalogue::Counters(const TSdfDataSet& table) const {
  return StateOf(table).counters;
}

}  // namespace qs

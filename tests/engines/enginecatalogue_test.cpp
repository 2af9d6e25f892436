// The engine catalogue: type views, counters, the RQZWEB rule, new records, the manual list
// and the category files.
#include "engines/enginecatalogue.h"
#include "platform/filesystem.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <limits>

#include "app/errors.h"
#include "app/summit.h"
#include "engines/categories.h"
#include "engines/enginefields.h"
#include "engines/manuallist.h"
#include "submit/classification.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

// One engine line: id, name, type and count; the other columns as an engine file has them.
std::string Engine(const std::string& name, const std::string& type, const std::string& count = "1") {
  return "7," + name + "," + type + ",english,,US," + count +
         ",Monthly,All,,http://" + name + ".example/,http://" + name + ".example/add,POST\r\n";
}

class CatalogueTest : public ::testing::Test {
 protected:
  void Open(const std::string& main, const std::string& custom = "") {
    dir.Write("data/data.czc", main);
    dir.Write("data/datac.czc", custom);
    catalogue.Open(folder);
  }
  std::vector<std::string> Names(TSdfDataSet& t) {
    std::vector<std::string> names;
    for (t.First(); !t.Eof(); t.Next()) names.push_back(t.FieldByName("e_name").AsString());
    return names;
  }
  test::TempFolder dir;
  TAppFolder folder = dir.AppFolder();
  TEngineCatalogue catalogue;
};

TEST_F(CatalogueTest, CountersOfBothTables) {
  std::string main;
  for (int i = 0; i < 5; ++i) main += Engine("e" + std::to_string(i), "ENGINE");
  main += Engine("f1", "FFA") + Engine("f2", "FFA");
  main += Engine("n1", "NETWORKS", "10") + Engine("n2", "NETWORKS", "20") + Engine("n3", "NETWORKS", "1");
  main += Engine("odd", "NETWORK", "50") + Engine("low", "engine");  // counted nowhere
  Open(main, Engine("c1", "FFA"));
  EXPECT_EQ(catalogue.Counters(catalogue.EnginesTable), (TEngineCounters{35, 5, 2, 3, 31}));
  EXPECT_EQ(catalogue.Counters(catalogue.CustomTable), (TEngineCounters{1, 0, 1, 0, 0}));
  EXPECT_EQ(catalogue.EnginesTable.FieldByName("e_name").AsString(), "e0");  // back at the first

  catalogue.SelectView(catalogue.EnginesTable, TTypeView::Networks);
  EXPECT_EQ(Names(catalogue.EnginesTable), (std::vector<std::string>{"n1", "n2", "n3"}));
  catalogue.SelectView(catalogue.EnginesTable, TTypeView::Engines);
  EXPECT_EQ(catalogue.Count(catalogue.EnginesTable), (TEngineCounters{5, 5, 0, 0, 0}));
  EXPECT_EQ(catalogue.EnginesTable.RecordCount(), 12);
  catalogue.Close();
}

TEST_F(CatalogueTest, ANetworkOfAnImpossibleSizeCountsAsOneSiteAsTheRunWeighsIt) {
  const struct {
    const char* count;
    int networkTotal;
  } cases[] = {{"10", 10}, {"0", 0}, {"-5", 1}, {"1000000000", 1000000000}, {"1000000001", 1},
               {"2147483647", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    Open(Engine("n", "NETWORKS", c.count));
    EXPECT_EQ(catalogue.Counters(catalogue.EnginesTable).networkTotal, c.networkTotal);
    EXPECT_EQ(RowCount(c.count), c.networkTotal);  // what a run adds to its sums for the row
    catalogue.Close();
  }
  // Many large networks do not overflow the counters.
  Open(Engine("a", "NETWORKS", "1000000000") + Engine("b", "NETWORKS", "1000000000") +
       Engine("c", "NETWORKS", "1000000000"));
  EXPECT_EQ(catalogue.Counters(catalogue.EnginesTable).total, std::numeric_limits<int>::max());
  catalogue.Close();
}

TEST_F(CatalogueTest, ANetworkCountThatIsNotAWholeNumberStopsTheCount) {
  Open(Engine("e", "ENGINE") + Engine("n", "NETWORKS", "3"));
  const TEngineCounters before = catalogue.Counters(catalogue.EnginesTable);
  catalogue.EnginesTable.Last();
  catalogue.EnginesTable.Edit();
  catalogue.EnginesTable.FieldByName("e_count").SetAsString("many");
  EXPECT_THROW(catalogue.EnginesTable.Post(), ConversionError);  // the count after the post
  EXPECT_EQ(catalogue.Counters(catalogue.EnginesTable), before);
  catalogue.Close();
  dir.Write("data/data.czc", Engine("n", "NETWORKS", "3.5"));
  EXPECT_THROW(catalogue.Open(folder), ConversionError);
  catalogue.Close();
}

TEST_F(CatalogueTest, AllTypesWritesTheTableOtherViewsDoNot) {
  Open(Engine("a", "ENGINE") + Engine("b", "FFA"));
  auto& t = catalogue.EnginesTable;
  t.Edit();
  t.FieldByName("e_country").SetAsString("DE");
  t.Post();
  catalogue.SelectView(t, TTypeView::Engines);
  EXPECT_EQ(dir.Read("data/data.czc"), Engine("a", "ENGINE") + Engine("b", "FFA"));
  catalogue.SelectView(t, TTypeView::AllTypes);
  EXPECT_NE(dir.Read("data/data.czc").find(",DE,"), std::string::npos);
  EXPECT_FALSE(t.Filtered());
  EXPECT_EQ(Names(t), (std::vector<std::string>{"a", "b"}));
  catalogue.Close();
}

TEST_F(CatalogueTest, APostedRecordIsWrittenSoonWithTheTableOpen) {
  Open(Engine("a", "ENGINE") + Engine("b", "FFA"));
  auto& t = catalogue.EnginesTable;
  catalogue.SelectView(t, TTypeView::Engines);
  // Two posts in a row are written together, once, after the delay.
  for (const char* country : {"DE", "NZ"}) {
    t.Edit();
    t.FieldByName("e_country").SetAsString(country);
    t.Post();
  }
  EXPECT_TRUE(catalogue.SavePending());
  EXPECT_EQ(dir.Read("data/data.czc"), Engine("a", "ENGINE") + Engine("b", "FFA"));
  QDeadlineTimer deadline(10 * TEngineCatalogue::kSaveDelayMs);
  while (catalogue.SavePending() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
  EXPECT_FALSE(catalogue.SavePending());
  EXPECT_NE(dir.Read("data/data.czc").find(",a,ENGINE,english,,NZ,"), std::string::npos)
      << dir.Read("data/data.czc");
  EXPECT_TRUE(t.Active());
  EXPECT_EQ(catalogue.View(t), TTypeView::Engines);  // the view stays as chosen
  catalogue.Close();
}

TEST_F(CatalogueTest, ANewRecordStartsAsAnFfaAndLeavesTheEnginesView) {
  catalogue.languageName = "spanish";
  Open(Engine("a", "ENGINE") + Engine("b", "ENGINE"));
  auto& t = catalogue.EnginesTable;
  catalogue.SelectView(t, TTypeView::Engines);
  t.Last();
  t.Insert();
  const std::pair<const char*, const char*> defaults[] = {
      {"enginetype", "FFA"}, {"db_type", "spanish"}, {"e_count", "1"}, {"e_freq", "Monthly"},
      {"e_index", "All"},    {"method", "POST"},     {"confirm", "NO"}, {"id", ""},
      {"trial", ""},         {"e_name", ""},
  };
  for (auto [field, value] : defaults) EXPECT_EQ(t.FieldByName(field).AsString(), value) << field;
  t.FieldByName("e_name").SetAsString("new");
  t.Post();
  EXPECT_EQ(Names(t), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(catalogue.Counters(t).engines, 2);
  catalogue.SelectView(t, TTypeView::AllTypes);
  EXPECT_EQ(Names(t), (std::vector<std::string>{"a", "new", "b"}));  // before the current one
  catalogue.Close();
}

TEST_F(CatalogueTest, TheRqzwebRule) {
  struct Case {
    const char* title;
    const char* name;
    bool removed;
  } cases[] = {
      {"RQZ Submitter v5.5", "RQZWEB", true},
      {"RQZ Submitter v5.5", "rqzweb", false},  // found, but not exactly the name
      {"Quorvex Summit v5.5", "RQZWEB", false},
      {"rqz lower v5.5", "RQZWEB", false},
  };
  for (const auto& c : cases) {
    TEngineCatalogue cat;
    cat.applicationTitle = c.title;
    dir.Write("data/data.czc", Engine("a", "ENGINE") + Engine(c.name, "FFA") + Engine("z", "FFA"));
    dir.Write("data/datac.czc", "");
    cat.Open(folder);
    EXPECT_EQ(cat.EnginesTable.RecordCount(), c.removed ? 2 : 3) << c.title << c.name;
    EXPECT_EQ(cat.Counters(cat.EnginesTable).ffa, c.removed ? 1 : 2) << c.title << c.name;
    cat.Close();
    EXPECT_EQ(dir.Read("data/data.czc").find(std::string(",") + c.name + ",") == std::string::npos,
              c.removed);
  }
}

TEST_F(CatalogueTest, AMissingTableCannotBeOpened) {
  dir.Write("data/data.czc", Engine("a", "ENGINE"));
  try {
    catalogue.Open(folder);
    ADD_FAILURE();
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.Root() + "/data/datac.czc");
  }
  EXPECT_FALSE(catalogue.CustomTable.Active());
  catalogue.Close();
}

TEST(EngineColumns, TheSchemaInFileOrder) {
  const auto schema = EngineSchema();
  ASSERT_EQ(schema.size(), 36u);
  EXPECT_EQ(schema[0], "id");
  EXPECT_EQ(schema[2], "enginetype");
  EXPECT_EQ(schema[6], "e_count");
  EXPECT_EQ(schema[11], "cgi_url");
  EXPECT_EQ(schema[17], "cat_type");
  EXPECT_EQ(schema[32], "password");
  EXPECT_EQ(schema[35], "hidden");
}

TEST(ManualList, SeparatorsQuotesAndRows) {
  EXPECT_EQ(SplitManualLine("a,\"b,\"\"c\"\"\",d", ','),
            (std::vector<std::string>{"a", "b,\"c\"", "d"}));
  EXPECT_EQ(SplitManualLine("a;b", ';'), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitManualLine("", ','), (std::vector<std::string>{""}));
  struct Case {
    std::vector<std::string_view> lines;
    char separator;
  } cases[] = {
      {{"a,b,c", "d,e,f"}, ','},
      {{"a;b;c", "d;e;f"}, ';'},
      {{"a|b|c", "d|e|f"}, '|'},
      {{"a\tb\tc", "d\te\tf"}, '\t'},
      {{"a#b#c", "d#e#f"}, '#'},
      {{"a;b;c", "d,e,f"}, ','},  // a comma in either line: commas
      {{"a;b;c", "d|e|f"}, ','},  // the two lines disagree
      {{"x|y|z"}, '|'},
  };
  for (const auto& c : cases) EXPECT_EQ(ManualListSeparator(c.lines), c.separator) << c.lines[0];

  test::TempFolder dir;
  dir.Write("datam.czc", "One;http://1/;http://1/add\r\n\"Two;2\";http://2/;\nThree;;\n");
  auto list = LoadManualList(dir.Path("datam.czc"));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[1], (TManualEngine{"Two;2", "http://2/", ""}));
  try {
    LoadManualList(dir.Path("none.czc"));
    ADD_FAILURE();
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.Path("none.czc"));
  }
}

TEST(Categories, ListAndTranslation) {
  test::TempFolder dir;
  TAppFolder folder = dir.AppFolder();
  std::vector<std::string> list = BuiltinCategories();
  ASSERT_EQ(list.size(), 30u);
  LoadCategoryList(folder, "english", list);
  EXPECT_EQ(list.size(), 30u);  // no file: the built-in list stays
  dir.Write("data/catmatch.zro", "[english]\r\nArts=1\r\nBusiness=2\r\nCars\r\nZoo=\r\n[german]\r\nKunst=1\r\n");
  LoadCategoryList(folder, "english", list);
  EXPECT_EQ(list, (std::vector<std::string>{"Arts", "Business", "", "Zoo"}));
  LoadCategoryList(folder, "french", list);
  EXPECT_TRUE(list.empty());

  EXPECT_EQ(TranslateCategory(folder, "Cat3", "Arts"), "Business");  // no file
  dir.Write("data/category.zro", "[SubCat3]\r\nArts=Arts & Humanities\r\n");
  EXPECT_EQ(TranslateCategory(folder, "Cat3", "arts"), "Arts & Humanities");
  EXPECT_EQ(TranslateCategory(folder, "Cat3", "Travel"), "Business");
  EXPECT_EQ(TranslateCategory(folder, "Cat4", "Arts"), "Business");
}

TEST(Categories, ARunReadsTheMapOnceAndAgainWhenItChanges) {
  test::TempFolder dir;
  TCategoryMap map(dir.AppFolder());
  EXPECT_EQ(map.Translate("Cat3", "Arts"), "Business");  // no file
  dir.Write("data/category.zro", "[SubCat3]\r\nArts=Arts & Humanities\r\n[SubCat4]\r\nArts=arts\r\n");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(map.Translate("Cat3", "arts"), "Arts & Humanities");
    EXPECT_EQ(map.Translate("Cat4", "Arts"), "arts");
    EXPECT_EQ(map.Translate("Cat4", "Travel"), "Business");
  }
  EXPECT_EQ(map.Reads(), 2);
  // A database update replaces the file during the run: the next translation has it.
  WriteFileAtomically(dir.Path("data/category.zro"), "[SubCat3]\r\nArts=Humanities\r\n");
  EXPECT_EQ(map.Translate("Cat3", "Arts"), "Humanities");
  EXPECT_EQ(map.Translate("Cat4", "Arts"), "Business");
  EXPECT_EQ(map.Reads(), 3);
}

TEST(SummitStartup, LoadsTheCatalogueManualListAndCategories) {
  test::TempFolder dir;
  dir.Write("data/datam.czc", "a,b,c\r\nd,e,f\r\ng,h,i\r\n");
  dir.Write("data/data.czc", Engine("x", "ENGINE"));
  dir.Write("data/datac.czc", "");
  dir.Write("data/catmatch.zro", "[english]\r\nOne=1\r\nTwo=2\r\nThree=3\r\nFour=4\r\n");
  TSummit summit(dir.AppFolder());
  TScriptedAnswerer answers;
  EXPECT_TRUE(summit.Start(answers));
  EXPECT_EQ(summit.manualEngines.size(), 3u);
  EXPECT_EQ(summit.catalogue.Counters(summit.catalogue.EnginesTable).engines, 1);
  EXPECT_EQ(summit.state.categories, (std::vector<std::string>{"One", "Two", "Three", "Four"}));
  summit.catalogue.Close();

  test::TempFolder empty;
  empty.Write("data/data.czc", "");
  TSummit broken(empty.AppFolder());
  EXPECT_FALSE(broken.Start(answers));  // no manual list: the rest is skipped
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, "Cannot open file " + empty.Root() + "/data/datam.czc");
  EXPECT_FALSE(broken.catalogue.EnginesTable.Active());
  EXPECT_EQ(broken.state.categories, BuiltinCategories());
}

}  // namespace
}  // namespace qs

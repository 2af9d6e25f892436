// The SDF table: loading, parsing and building lines, field widths, the cursor, editing,
// searching, the filter and writing back.
#include "store/sdfdataset.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/errors.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

using Values = std::vector<std::string>;

class SdfTest : public ::testing::Test {
 protected:
  // Opens a table on `bytes` with the schema a,b,c (or the one given).
  TSdfDataSet& Open(const std::string& bytes, std::vector<std::string> schema = {"a", "b", "c"}) {
    dir.Write("t.czc", bytes);
    table.SetFileName(dir.Path("t.czc"));
    table.SetSchema(std::move(schema));
    table.Open();
    return table;
  }
  Values Current() {
    Values v;
    for (int i = 0; i < table.FieldCount(); ++i) v.push_back(table.Fields(i).AsString());
    return v;
  }
  std::vector<Values> All() {
    std::vector<Values> rows;
    for (table.First(); !table.Eof(); table.Next()) rows.push_back(Current());
    return rows;
  }
  std::string Closed() {
    table.Close();
    return dir.Read("t.czc");
  }

  test::TempFolder dir;
  TSdfDataSet table;
};

TEST_F(SdfTest, ParsesValuesByTheLineRules) {
  struct Case {
    const char* what;
    std::string line;
    Values values;
  } cases[] = {
      {"plain values", "x,y,z", {"x", "y", "z"}},
      {"blanks before a value are skipped, after it kept (then trimmed)", "  x  , y,z", {"x", "y", "z"}},
      {"control characters before a value are skipped", "\tx,\x01y,\x1Fz", {"x", "y", "z"}},
      {"a quoted value holds the delimiter", "\"x,1\",y,z", {"x,1", "y", "z"}},
      {"doubled quotes stay doubled", "\"say \"\"hi\"\"\",y", {"say \"\"hi\"\"", "y", ""}},
      {"a quote not followed by the delimiter does not close", "\"a\"b,c\",z", {"a\"b,c", "z", ""}},
      {"no closing quote takes the rest of the line", "\"open,y,z", {"\"open,y,z", "", ""}},
      {"empty values", "x,,z", {"x", "", "z"}},
      {"fewer values leave the rest blank", "x", {"x", "", ""}},
      {"values beyond the last field are ignored", "x,y,z,w,v", {"x", "y", "z"}},
      {"a quote inside an unquoted value is kept", "x\"y,z", {"x\"y", "z", ""}},
      {"all blanks read as empty", "   ,x", {"", "x", ""}},
  };
  for (const auto& c : cases) {
    Open(c.line + "\r\n");
    EXPECT_EQ(Current(), c.values) << c.what;
    table.Close();
  }
}

TEST_F(SdfTest, LoadsEveryLineAsARecord) {
  Open("one\r\n\r\ntwo\nthree\rfour\r\n", {"a"});
  EXPECT_EQ(All(), (std::vector<Values>{{"one"}, {""}, {"two"}, {"three"}, {"four"}}));
  EXPECT_EQ(table.RecordCount(), 5);
  table.Close();

  Open(std::string("a,b\r\nc,d\r\n\0e,f\r\n", 17), {"x", "y"});
  EXPECT_EQ(All(), (std::vector<Values>{{"a", "b"}, {"c", "d"}}));  // NUL ends the text
  table.Close();

  Open("", {"x"});
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_TRUE(table.Eof());
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_EQ(table.FieldWidth(0), 250);  // no lines: 250
}

TEST_F(SdfTest, FieldWidthsAndSchemaAlternatives) {
  Open("12345,1\r\n1234567890\r\n", {"a", " b ", "", "c=4", "d=x"});
  ASSERT_EQ(table.FieldCount(), 4);
  EXPECT_EQ(table.FieldName(1), "b");
  EXPECT_EQ(table.FieldWidth(0), 10);  // the longest line
  EXPECT_EQ(table.FieldWidth(2), 4);
  EXPECT_EQ(table.FieldWidth(3), 10);  // a width that does not parse: the plain rule
  table.Close();

  Open("p,q,r\r\ns,t\r\n", {});
  ASSERT_EQ(table.FieldCount(), 3);
  EXPECT_EQ(table.FieldName(2), "Field3");
  EXPECT_EQ(table.RecordCount(), 2);
  table.Close();

  table.SetFirstLineAsSchema(true);
  Open("name,url\r\nAlpha,http://a/\r\n", {});
  EXPECT_EQ(table.FieldName(0), "name");
  EXPECT_EQ(table.RecordCount(), 1);
  EXPECT_EQ(table.FieldByName("URL").AsString(), "http://a/");
  table.Close();

  Open("  \r\nx,y\r\n", {});  // a blank first line switches the header off
  EXPECT_FALSE(table.FirstLineAsSchema());
  EXPECT_EQ(table.FieldName(0), "Line");
  EXPECT_EQ(table.RecordCount(), 2);
  table.Next();
  EXPECT_EQ(table.Fields(0).AsString(), "x,y");  // the whole line
}

TEST_F(SdfTest, TrimSpaceOffShowsTheSlotsBlankFill) {
  table.SetTrimSpace(false);
  Open("ab ,c\r\n", {"a=5", "b=3"});
  EXPECT_EQ(table.Fields(0).AsString(), "ab   ");
  EXPECT_EQ(table.Fields(1).AsString(), "c  ");
}

TEST_F(SdfTest, PostedLinesFollowTheBuildRules) {
  struct Case {
    const char* what;
    Values set;
    std::string line;
    Values readBack;
  } cases[] = {
      {"a value with the delimiter is quoted", {"x,1", "y", "z"}, "\"x,1\",y,z", {"x,1", "y", "z"}},
      {"quotes are not doubled", {"say \"hi\"", "", ""}, "say \"hi\"", {"say \"hi\"", "", ""}},
      {"a value entered in quotes reads back without them", {"\"q\"", "y", ""}, "\"q\",y", {"q", "y", ""}},
      {"blanks and control characters around values go", {"  x\t", " y ", ""}, "x,y", {"x", "y", ""}},
      {"an empty middle field shows as two delimiters", {"x", "", "z"}, "x,,z", {"x", "", "z"}},
      {"trailing empty fields leave no delimiters", {"x", "", ""}, "x", {"x", "", ""}},
      {"quote then delimiter splits on reading", {"a\",b", "", ""}, "\"a\",b\"", {"a", "b\"", ""}},
      {"a line break inside a value cannot split the record", {"one\r\ntwo", "x\ny", ""},
       "one  two,x y", {"one  two", "x y", ""}},
  };
  for (const auto& c : cases) {
    Open("");
    table.Append();
    for (int i = 0; i < 3; ++i) table.Fields(i).SetAsString(c.set[static_cast<size_t>(i)]);
    table.Post();
    EXPECT_EQ(Closed(), c.line + "\r\n") << c.what;
    table.Open();
    EXPECT_EQ(Current(), c.readBack) << c.what;
    table.Close();
  }
}

TEST_F(SdfTest, RecordsNeverEditedAreWrittenBackByteForByte) {
  const std::string file = "  1 , \"x,y\",z,extra\r\n\r\n\"q\"\"q\",2\n3\r";
  Open(file);
  const auto before = dir.Identity("t.czc");
  EXPECT_EQ(Closed(), file);  // not modified: not even rewritten
  EXPECT_EQ(dir.Identity("t.czc"), before);

  table.Open();
  table.Next();  // the empty line
  table.Edit();
  table.Fields(0).SetAsString("new");
  table.Post();
  EXPECT_EQ(Closed(), "  1 , \"x,y\",z,extra\r\nnew\r\n\"q\"\"q\",2\r\n3\r\n");

  table.Open();
  table.Edit();
  table.Fields(0).SetAsString("1");
  table.Post();  // the extra value is gone once the record is posted
  EXPECT_EQ(Closed().substr(0, 11), "1,\"x,y\",z\r\n");
}

TEST_F(SdfTest, ValuesAreCutToTheWidthOfTheLongestLine) {
  Open(std::string(596, 'w') + "\r\nshort\r\n");
  EXPECT_EQ(table.FieldWidth(0), 596);
  table.Last();
  table.Edit();
  table.Fields(1).SetAsString(std::string(700, 'v'));
  EXPECT_EQ(table.Fields(1).AsString().size(), 596u);
  table.Post();
  Closed();
  table.Open();
  table.Last();
  EXPECT_EQ(table.Fields(1).AsString().size(), 596u);  // stays cut
  EXPECT_EQ(table.FieldWidth(0), 602);                 // the new longest line
}

TEST_F(SdfTest, InsertAppendAndDeleteMoveTheCursorByTheRules) {
  Open("");
  table.Insert();  // on an empty table: at the end
  table.Fields(0).SetAsString("first");
  table.Post();
  table.Append();
  table.Fields(0).SetAsString("last");
  table.Post();
  EXPECT_EQ(table.Fields(0).AsString(), "last");
  table.Insert();  // before the current record
  table.Fields(0).SetAsString("middle");
  table.Post();
  EXPECT_EQ(table.Fields(0).AsString(), "middle");
  EXPECT_EQ(All(), (std::vector<Values>{{"first", "", ""}, {"middle", "", ""}, {"last", "", ""}}));
  EXPECT_EQ(table.RecNo(), 2);  // "last": tags follow the order of creation
  table.First();
  table.Next();
  EXPECT_EQ(table.RecNo(), 3);

  table.Last();
  table.Delete();  // the last line: the cursor moves to the new last record
  EXPECT_EQ(table.Fields(0).AsString(), "middle");
  table.First();
  table.Delete();  // otherwise the next record becomes current
  EXPECT_EQ(table.Fields(0).AsString(), "middle");
  table.Delete();
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_TRUE(table.Eof());
  EXPECT_THROW(table.Delete(), DatabaseError);
  EXPECT_EQ(Closed(), "");
}

TEST_F(SdfTest, NavigationPostsAChangedPendingRecordAndDropsAnUnchangedOne) {
  Open("a\r\nb\r\n");
  table.Edit();
  table.Fields(0).SetAsString("A");
  table.Next();
  EXPECT_EQ(table.State(), TDataSetState::Browse);
  table.Insert();  // started, but nothing set: dropped by the move
  table.First();
  EXPECT_EQ(table.RecordCount(), 2);
  EXPECT_EQ(All(), (std::vector<Values>{{"A", "", ""}, {"b", "", ""}}));
  table.First();
  table.Edit();
  table.Fields(0).SetAsString("X");
  table.Cancel();
  EXPECT_EQ(table.Fields(0).AsString(), "A");
  table.Edit();
  table.Fields(1).SetAsString("kept at close");  // cut to the one-character width
  EXPECT_EQ(Closed(), "A,k\r\nb\r\n");
}

TEST_F(SdfTest, BookmarksFindTheirRecords) {
  Open("a\r\nb\r\nc\r\n");
  table.Next();
  const int32_t mark = table.GetBookmark();
  table.First();
  table.Insert();
  table.Fields(0).SetAsString("new");
  table.Post();
  ASSERT_TRUE(table.GotoBookmark(mark));
  EXPECT_EQ(table.Fields(0).AsString(), "b");
  EXPECT_FALSE(table.GotoBookmark(99));
}

TEST_F(SdfTest, LocateFromTheFirstRecord) {
  Open("Alpha,1\r\nbeta,2\r\nBetamax,3\r\n", {"name", "n"});
  struct Case {
    const char* fields;
    Values values;
    TLocateOptions options;
    bool found;
    const char* at;
  } cases[] = {
      {"name", {"beta"}, {}, true, "beta"},
      {"name", {"BETA"}, {}, false, "Betamax"},  // no match: left at the end
      {"name", {"BETA"}, {.caseInsensitive = true}, true, "beta"},
      {"name", {"Beta"}, {.partialKey = true}, true, "Betamax"},
      {"name", {" alpha "}, {.caseInsensitive = true}, true, "Alpha"},
      {"name, n", {"Betamax", "3"}, {}, true, "Betamax"},
      {"name,n", {"beta", "3"}, {}, false, "Betamax"},
      {"  ", {"x"}, {}, false, "beta"},  // empty key fields: nothing moves
  };
  for (const auto& c : cases) {
    table.First();
    table.Next();
    EXPECT_EQ(table.Locate(c.fields, c.values, c.options), c.found) << c.fields << c.values[0];
    EXPECT_EQ(table.FieldByName("name").AsString(), c.at) << c.fields << c.values[0];
    if (!c.found && std::string(c.fields) != "  ") {
      EXPECT_TRUE(table.Eof());
    }
  }
  EXPECT_THROW(table.Locate("nope", {"x"}), DatabaseError);
}

TEST_F(SdfTest, TheFilterHidesRecordsButNotFromTheCount) {
  Open("ENGINE,a\r\nFFA,b\r\nENGINE,c\r\n", {"type", "name"});
  std::vector<std::string> asked;
  table.OnFilterRecord = [&](TFixedFormatDataSet& t, bool& accept) {
    asked.push_back(t.FieldByName("name").AsString());  // the candidate is what fields read
    accept = t.Filter().empty() || t.FieldByName("type").AsString() == t.Filter();
  };
  table.SetFiltered(true);
  table.SetFilter("FFA");
  table.Refresh();
  EXPECT_EQ(table.FieldByName("name").AsString(), "b");
  EXPECT_EQ(All(), (std::vector<Values>{{"FFA", "b"}}));
  table.SetFilter("NONE");
  table.Refresh();
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_EQ(table.RecordCount(), 3);
  table.SetFiltered(false);
  table.Refresh();
  EXPECT_EQ(All().size(), 3u);
  EXPECT_FALSE(asked.empty());

  table.OnFilterRecord = [](TFixedFormatDataSet&, bool&) { throw std::runtime_error("broken"); };
  std::string reported;
  table.OnFilterError = [&](const std::string& e) { reported = e; };
  table.SetFiltered(true);
  table.First();
  EXPECT_EQ(reported, "broken");
  EXPECT_FALSE(table.IsEmpty());  // the accept flag stayed true
}

TEST_F(SdfTest, BrowsingByLineLeavesTheCursorAndTagsFollowTheirRecords) {
  Open("ENGINE,a  \r\nFFA,b\r\nENGINE,c\r\n", {"type", "name"});
  table.OnFilterRecord = [](TFixedFormatDataSet& t, bool& accept) {
    accept = t.Filter().empty() || t.FieldByName("type").AsString() == t.Filter();
  };
  table.SetFiltered(true);
  table.SetFilter("ENGINE");
  table.Refresh();
  EXPECT_EQ(table.VisibleLines(), (std::vector<int>{0, 2}));
  table.First();
  EXPECT_EQ(table.LineFieldText(2, 1), "c");
  EXPECT_EQ(table.LineFieldText(0, 1), "a");  // trimmed as FieldText reads it
  EXPECT_EQ(table.LineFieldText(9, 1), "");   // no such line
  EXPECT_EQ(table.CurrentLine(), 0);          // reading moved nothing
  EXPECT_FALSE(table.GotoLine(1));            // hidden by the filter
  ASSERT_TRUE(table.GotoLine(2));
  EXPECT_EQ(table.FieldByName("name").AsString(), "c");

  // A record inserted before it moves its line, not its tag.
  const int32_t tag = table.LineTag(2);
  table.First();
  table.Insert();
  table.FieldByName("type").SetAsString("ENGINE");
  table.FieldByName("name").SetAsString("new");
  table.Post();
  EXPECT_EQ(table.VisibleLines(), (std::vector<int>{0, 1, 3}));
  ASSERT_TRUE(table.GotoBookmark(tag));
  EXPECT_EQ(table.CurrentLine(), 3);
  EXPECT_EQ(table.FieldByName("name").AsString(), "c");
}

TEST_F(SdfTest, SaveToDiskWritesPostedRecordsAndKeepsTheTableOpen) {
  Open("a,1\r\nb,2\r\n", {"name", "n"});
  const auto untouched = dir.Identity("t.czc");
  table.SaveToDisk();  // nothing changed: nothing written
  EXPECT_EQ(dir.Identity("t.czc"), untouched);

  table.Edit();
  table.FieldByName("n").SetAsString("9");
  table.SaveToDisk();  // an edit not yet posted stays in memory
  EXPECT_EQ(dir.Read("t.czc"), "a,1\r\nb,2\r\n");
  table.Post();
  EXPECT_TRUE(table.TableModified());
  table.SaveToDisk();
  EXPECT_EQ(dir.Read("t.czc"), "a,9\r\nb,2\r\n");
  EXPECT_TRUE(table.Active());
  EXPECT_FALSE(table.TableModified());
  EXPECT_EQ(table.FieldByName("n").AsString(), "9");
  table.Next();
  table.Delete();
  table.SaveToDisk();
  EXPECT_EQ(dir.Read("t.czc"), "a,9\r\n");
  EXPECT_EQ(Closed(), "a,9\r\n");
}

TEST_F(SdfTest, ErrorsOfState) {
  EXPECT_THROW(
      {
        table.SetFileName(dir.Path("missing.czc"));
        table.Open();
      },
      IoError);
  try {
    table.Open();
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.Path("missing.czc"));
  }
  EXPECT_FALSE(table.Active());
  table.SetFileMustExist(false);
  table.Open();  // created empty
  EXPECT_TRUE(dir.Exists("missing.czc"));
  for (auto change : std::vector<std::function<void()>>{
           [&] { table.SetFileName("x"); }, [&] { table.SetSchema({}); },
           [&] { table.SetDelimiter(';'); }, [&] { table.SetReadOnly(true); },
           [&] { table.SetTrimSpace(false); }, [&] { table.SetFirstLineAsSchema(true); },
           [&] { table.SetFileMustExist(true); }}) {
    try {
      change();
      ADD_FAILURE() << "changed on an open table";
    } catch (const DatabaseError& e) {
      EXPECT_STREQ(e.what(), "Cannot perform this operation on an open dataset");
    }
  }
  table.Close();

  Open("x,12\r\ny,\r\nz,1x\r\n");
  try {
    table.Fields(0).SetAsString("no");
    ADD_FAILURE();
  } catch (const DatabaseError& e) {
    EXPECT_STREQ(e.what(), "Dataset not in edit or insert mode");
  }
  EXPECT_THROW(table.Post(), DatabaseError);
  EXPECT_EQ(table.Fields(1).AsInteger(), 12);
  for (const char* text : {"", "1x"}) {
    table.Next();
    try {
      table.Fields(1).AsInteger();
      ADD_FAILURE() << text;
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid integer value");
    }
  }
  table.Close();

  table.SetReadOnly(true);
  Open("x\r\n");
  for (auto change : std::vector<std::function<void()>>{
           [&] { table.Edit(); }, [&] { table.Insert(); }, [&] { table.Append(); },
           [&] { table.Delete(); }}) {
    try {
      change();
      ADD_FAILURE();
    } catch (const DatabaseError& e) {
      EXPECT_STREQ(e.what(), "Cannot modify a read-only dataset");
    }
  }
}

TEST_F(SdfTest, AFailedCloseKeepsTheChangesForTheNextClose) {
  dir.Write("sub/t.czc", "a line long enough\r\n");
  table.SetFileName(dir.Path("sub/t.czc"));
  table.SetSchema({"a"});
  table.Open();
  table.Edit();
  table.Fields(0).SetAsString("changed");
  table.Post();
  std::filesystem::remove_all(dir.Path("sub"));
  try {
    table.Close();
    ADD_FAILURE() << "closed without a folder";
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + dir.Path("sub/t.czc"));
  }
  EXPECT_TRUE(table.Active());
  EXPECT_TRUE(table.TableModified());
  std::filesystem::create_directories(dir.Path("sub"));
  table.Close();
  EXPECT_EQ(dir.Read("sub/t.czc"), "changed\r\n");
}

TEST_F(SdfTest, HostileFilesLoad) {
  std::string binary;
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>(1 + (i * 131) % 255);
  const std::string cases[] = {
      binary,
      std::string(10'000'000, 'x'),
      std::string(10'000, ','),
      "\"" + std::string(100'000, 'a') + "\"b\"c,\"\"\"",
      std::string(100'000, '"'),
  };
  for (const auto& bytes : cases) {
    Open(bytes);
    for (table.First(); !table.Eof(); table.Next()) Current();
    table.Edit();
    table.Fields(2).SetAsString("z");
    table.Post();
    Closed();
    table.Open();
    table.Close();
  }
}

}  // namespace
}  // namespace qs

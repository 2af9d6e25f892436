// Lookup, loading table files, the start-up replacement and the language switch.
#include "app/langtable.h"

#include <gtest/gtest.h>

#include "app/errors.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

TEST(LanguageTable, LookupTakesTheFirstLineWhoseKeyMatchesIgnoringCase) {
  TLanguageTable t;
  t.SetLines({"[errors]", "NODBEDIT=first", "nodbedit=second", "plain line", "a=b=c", "empty=",
              "Label1=x", "////", ""});
  EXPECT_EQ(t.Lookup("nodbedit"), "first");
  EXPECT_EQ(t.Lookup("NoDbEdit"), "first");
  EXPECT_EQ(t.Lookup("a"), "b=c");
  EXPECT_EQ(t.Lookup("a=b"), "");
  EXPECT_EQ(t.Lookup("label1"), "x");
  EXPECT_EQ(t.Lookup("empty"), "");
  EXPECT_EQ(t.Lookup("plain line"), "");
  EXPECT_EQ(t.Lookup("missing"), "");
  EXPECT_EQ(t.Lookup("[errors]"), "");
}

TEST(LanguageTable, TableFilesSplitAtCrLfOrCrLf) {
  EXPECT_EQ(TLanguageTable::SplitLines("a=1\rb=2\nc=3\r\nd=4\r\n\r\ne=5"),
            (std::vector<std::string>{"a=1", "b=2", "c=3", "d=4", "", "e=5"}));
  EXPECT_EQ(TLanguageTable::SplitLines("a=1\n"), (std::vector<std::string>{"a=1"}));
  EXPECT_TRUE(TLanguageTable::SplitLines("").empty());
}

TEST(LanguageTable, LangIniReplacesTheBuiltInTableAtStartUp) {
  test::TempFolder dir;
  TLanguageTable t;
  EXPECT_FALSE(LoadStartupTable(t, dir.AppFolder()));
  EXPECT_EQ(t.Lookup("174"), "You have to create a domain before you can make a project.");
  dir.Write("lang.ini", "lang=custom\r\n175=Create one?\r\n");
  EXPECT_TRUE(LoadStartupTable(t, dir.AppFolder()));
  EXPECT_EQ(t.Lookup("lang"), "custom");
  EXPECT_EQ(t.Lookup("174"), "");  // a table without the key shows an empty message
  EXPECT_EQ(t.Lines().size(), 2u);
}

TEST(LanguageTable, TheSwitchLoadsTheLanguageFile) {
  test::TempFolder dir;
  dir.Write("english.txt", "lang=english\n47=Submit\n");
  dir.Write("spanish.txt", "lang=spanish\n47=Enviar\n");
  TLanguageTable t;
  SwitchLanguage(t, dir.AppFolder(), TLanguage::Spanish);
  EXPECT_EQ(t.Lookup("47"), "Enviar");
  SwitchLanguage(t, dir.AppFolder(), TLanguage::English);
  EXPECT_EQ(t.Lookup("47"), "Submit");
}

TEST(LanguageTable, AFailedSwitchToEnglishKeepsTheTableToSpanishEmptiesIt) {
  test::TempFolder dir;
  TLanguageTable t;
  const auto before = t.Lines();
  try {
    SwitchLanguage(t, dir.AppFolder(), TLanguage::English);
    ADD_FAILURE() << "no english.txt, no error";
  } catch (const IoError& e) {
    EXPECT_NE(std::string(e.what()).find("english.txt"), std::string::npos) << e.what();
  }
  EXPECT_EQ(t.Lines(), before);
  EXPECT_THROW(SwitchLanguage(t, dir.AppFolder(), TLanguage::Spanish), IoError);
  EXPECT_TRUE(t.Lines().empty());
}

}  // namespace
}  // namespace qs

// The domain list, project lists and project values on disk.
#include "projects/domainstore.h"

#include <gtest/gtest.h>

#include "app/clock.h"
#include "app/errors.h"
#include "projects/naming.h"
#include "projects/projectkeys.h"
#include "store/biginifile.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

class DomainStoreTest : public ::testing::Test {
 protected:
  test::TempFolder dir;
  TAppFolder folder = dir.AppFolder();
  TDomainStore store{folder};
};

TEST_F(DomainStoreTest, ListsAreSavedWithCountAndReadSortedByTheirLinesAlone) {
  store.CreateDomainFolder("site.com");  // the installation's data/domains folder with it
  store.SaveDomainList({"domain-one", "domain-two"});
  EXPECT_EQ(dir.Read("data/domains/domains.zro"),
            "[Domains]\r\nCount=2\r\n\r\n[List]\r\ndomain-one\r\ndomain-two\r\n\r\n");

  dir.Write("data/domains/site.com.zro", "[Session]\r\nCount=7\r\n[List]\r\nb.htm\r\nIndex\r\n/a\r\nB.htm\r\n");
  EXPECT_EQ(store.ReadProjectList("site.com"), (std::vector<std::string>{"/a", "B.htm", "b.htm", "Index"}));
  EXPECT_TRUE(store.ReadProjectList("missing.com").empty());

  store.SaveProjectList("site.com", {"/a", "Index"});
  TBigIniFile ini(dir.Path("data/domains/site.com.zro"));
  EXPECT_EQ(ini.ReadText("Session", "Count", ""), "2");
  ini.Close();
}

TEST_F(DomainStoreTest, ProjectValuesGoToTheirOwnSectionOneOpeningPerCall) {
  store.CreateDomainFolder("site.com");
  store.WriteProjectValue("site.com", "Index", "Index", "url", "http://site.com/");
  store.WriteProjectValue("site.com", "Index", "MetaTags", "Title", "Home");
  EXPECT_EQ(dir.Read("data/domains/projects/site.com/Index.zro"),
            "[Index]\r\nurl=http://site.com/\r\n\r\n[MetaTags]\r\nTitle=Home\r\n\r\n");
  EXPECT_EQ(store.ReadProjectValue("site.com", "Index", "Index", "URL", "-"), "http://site.com/");
  EXPECT_EQ(store.ReadProjectValue("site.com", "_x", "_x", "url", "-"), "-");
}

TEST_F(DomainStoreTest, AProjectFileNeedsItsDomainFolder) {
  EXPECT_THROW(store.WriteProjectValue("new.com", "Index", "Index", "url", "x"), IoError);
  EXPECT_FALSE(dir.Exists("data/domains/projects/new.com"));
}

TEST_F(DomainStoreTest, BadNamesAreRefusedBeforeAnythingIsWritten) {
  EXPECT_THROW(store.CreateDomainFolder(".."), NameError);
  EXPECT_THROW(store.WriteProjectValue("site.com", "..", "..", "k", "v"), NameError);
  EXPECT_THROW(store.SaveDomainList({"good.com", "a\\b"}), NameError);
  EXPECT_THROW(store.SaveProjectList("site.com", {"/ok", std::string("/x\0y", 4)}), NameError);
  EXPECT_THROW(store.ReadProjectList("../../etc"), NameError);
  EXPECT_FALSE(dir.Exists("data"));
}

TEST(ProjectKeys, DefaultsOfMissingKeys) {
  clock::Fixed now(QDateTime(QDate(2026, 3, 31), QTime(14, 5, 9)));
  struct Case {
    const char* key;
    const char* text;
  } cases[] = {
      {"url", ""},          {"submitengines", "-1"}, {"submitcustom", ""},
      {"emailreport", "0"}, {"scheduled", "0"},      {"daysbetween", "30"},
      {"startdate", "3/31/2026"}, {"enddate", "3/31/2026"}, {"besttime", "2:05:09 PM"},
      {"lastsub", "3/31/2025"},   {"lastw", "3/24/2026"},   {"lastm", "2/28/2026"},
      {"lasty", "3/31/2025"},
  };
  for (const auto& c : cases) {
    const ProjectKeyDef* def = FindProjectKey(c.key);
    ASSERT_NE(def, nullptr) << c.key;
    EXPECT_EQ(ProjectDefaultText(*def), c.text) << c.key;
  }
}

TEST(ProjectKeys, CreationWritesEveryRecordFieldAndTheFixedOptions) {
  for (std::string_view key : CreatedKeyOrder()) {
    const ProjectKeyDef* def = FindProjectKey(key);
    ASSERT_NE(def, nullptr) << key;
    EXPECT_TRUE(def->fromRecord || def->createdValue) << key;
  }
  for (const ProjectKeyDef& def : ProjectKeys()) {
    const bool created = def.fromRecord || def.createdValue;
    const auto order = CreatedKeyOrder();
    EXPECT_EQ(created, std::find(order.begin(), order.end(), def.key) != order.end()) << def.key;
  }
  EXPECT_EQ(*FindProjectKey("submitcustom")->createdValue, "0");
  EXPECT_EQ(*FindProjectKey("genreport")->createdValue, "-1");
}

}  // namespace
}  // namespace qs

// The installation data under data/: every shipped file is read through the program's own
// readers and checked for the shape its reader and its users rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <QProcess>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/appfolder.h"
#include "app/langtable.h"
#include "doorways/doorwaybuilder.h"
#include "doorways/doorwaypage.h"
#include "engines/categories.h"
#include "engines/enginefields.h"
#include "engines/manuallist.h"
#include "net/httpcli.h"
#include "net/httpurl.h"
#include "support/fakesocket.h"
#include "support/httprecorder.h"
#include "support/peers.h"
#include "support/tempfolder.h"
#include "reports/reporttemplate.h"
#include "platform/filesystem.h"
#include "submit/runentry.h"
#include "store/biginifile.h"
#include "store/sdfdataset.h"

namespace qs {
namespace {

const std::string kDataDir = QS_SOURCE_DIR "/data";

std::string DataPath(const std::string& relative) { return kDataDir + "/" + relative; }

std::string ReadBytes(const std::string& relative) {
  std::ifstream in(DataPath(relative), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool Exists(const std::string& relative) { return std::filesystem::is_regular_file(DataPath(relative)); }

// The lines of a file whose lines all end with CR LF; a failure names the first line that
// does not.
std::vector<std::string> CrLfLines(const std::string& relative) {
  const std::string bytes = ReadBytes(relative);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t lf = bytes.find('\n', start);
    if (lf == std::string::npos) {
      ADD_FAILURE() << relative << ": the last line has no line end";
      lines.push_back(bytes.substr(start));
      break;
    }
    if (lf == start || bytes[lf - 1] != '\r')
      ADD_FAILURE() << relative << ": line " << lines.size() + 1 << " ends with LF, not CR LF";
    const size_t end = lf > start && bytes[lf - 1] == '\r' ? lf - 1 : lf;
    lines.push_back(bytes.substr(start, end - start));
    EXPECT_EQ(lines.back().find('\r'), std::string::npos) << relative << ": lone CR in line " << lines.size();
    start = lf + 1;
  }
  return lines;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

// The $placeholders and <tags> of a text, in order.
std::vector<std::string> Fragments(const std::string& text) {
  static const std::regex fragment(R"(<[^>]*>|\$[a-z]+)");
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), fragment), end; it != end; ++it)
    found.push_back(it->str());
  return found;
}

// As many elements of `tag` open as close.
bool Balanced(const std::string& text, const std::string& tag) {
  return Count(text, "<" + tag + ">") + Count(text, "<" + tag + " ") == Count(text, "</" + tag + ">");
}

std::vector<std::string> KeyList(TBigIniFile& ini, const std::string& section) {
  std::vector<std::string> keys;
  ini.ReadKeyList(section, keys);
  return keys;
}

std::vector<std::string> SectionLines(TBigIniFile& ini, const std::string& section) {
  std::vector<std::string> lines;
  ini.ReadSectionLines(section, lines);
  lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
  return lines;
}

// ---------------------------------------------------------------------------------------------
// Every INI-format file and every text the program reads line by line.

TEST(DataFiles, LinesEndWithCrLfAndFitTheStoreLimit) {
  for (const std::string file :
       {"dfd.ini", "data/catmatch.zro", "data/category.zro", "data/ranking.czc", "data/metatags.czc",
        "data/data.czc", "data/datam.czc", "data/default.hst", "data/domains/report-template.htm"}) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(Exists(file));
    const std::vector<std::string> lines = CrLfLines(file);
    EXPECT_FALSE(lines.empty());
    const bool ini = file.ends_with(".ini") || file.ends_with(".zro") || file == "data/ranking.czc" ||
                     file == "data/metatags.czc";
    for (size_t i = 0; i < lines.size(); ++i) {
      if (ini) {
        EXPECT_LE(lines[i].size(), TBigIniFile::kMaxLine) << "line " << i + 1;
      }
      EXPECT_EQ(lines[i].find('\t'), std::string::npos) << "tab in line " << i + 1;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Language tables.

TEST(DataLanguage, SpanishHasTheKeysOfEnglishInTheSameOrder) {
  TLanguageTable english, spanish;
  english.LoadTable(DataPath("english.txt"));
  spanish.LoadTable(DataPath("spanish.txt"));
  const auto& e = english.Lines();
  const auto& s = spanish.Lines();
  ASSERT_EQ(e.size(), s.size());
  std::set<std::string> keys;
  for (size_t i = 0; i < e.size(); ++i) {
    SCOPED_TRACE("line " + std::to_string(i + 1) + ": " + e[i]);
    const std::string key = TLanguageTable::KeyOf(e[i]);
    ASSERT_EQ(TLanguageTable::KeyOf(s[i]), key);
    if (key.empty()) {
      EXPECT_EQ(s[i], e[i]);  // section lines and the separator stay as they are
      continue;
    }
    EXPECT_TRUE(keys.insert(key).second) << "duplicate key";
    const std::string ev = e[i].substr(key.size() + 1), sv = s[i].substr(key.size() + 1);
    EXPECT_EQ(sv.empty(), ev.empty());
    EXPECT_EQ(Fragments(sv), Fragments(ev)) << "HTML fragments and placeholders differ";
  }
  EXPECT_EQ(spanish.Lookup("lang"), "spanish");
}

// Texts the logic compares with data or with engine types must not be translated.
TEST(DataLanguage, SpanishKeepsTheTextsTheLogicMatches) {
  TLanguageTable english, spanish;
  english.LoadTable(DataPath("english.txt"));
  spanish.LoadTable(DataPath("spanish.txt"));
  // 187, 266 and 267 make the kinds line, which must contain engine, ffa and networks;
  // 164-166 and 419-421 are compared with the tag names of the meta tag catalogue.
  for (const char* key : {"187", "266", "267", "164", "165", "166", "419", "420", "421", "113"})
    EXPECT_EQ(spanish.Lookup(key), english.Lookup(key)) << key;
  // Everything else that is a sentence is translated.
  for (const char* key : {"nodbedit", "170", "175", "106", "388", "248", "label7"})
    EXPECT_NE(spanish.Lookup(key), english.Lookup(key)) << key;
}

TEST(DataLanguage, NoStartUpTableIsShipped) { EXPECT_FALSE(Exists("lang.ini")); }

// ---------------------------------------------------------------------------------------------
// Engine tables.

// The number of values of an engine line as the table reads it; a delimiter at the end of the
// line adds one empty value.
int ValueCount(const TSdfDataSet& table, std::string_view line) {
  size_t pos = 0;
  bool atEnd = false;
  int count = 0;
  bool afterDelimiter = false;
  for (;;) {
    table.NextValue(line, pos, atEnd);
    if (atEnd) break;
    ++count;
    afterDelimiter = pos > 0 && pos <= line.size() && line[pos - 1] == ',';
  }
  return count + (afterDelimiter ? 1 : 0);
}

struct TEngineRecord {
  std::map<std::string, std::string> v;
  const std::string& operator[](const std::string& k) const { return v.at(k); }
};

std::vector<TEngineRecord> ReadEngines(const std::string& relative) {
  TSdfDataSet table;
  table.SetFileName(DataPath(relative));
  table.SetSchema(EngineSchema());
  table.Open();
  std::vector<TEngineRecord> records;
  for (table.First(); !table.Eof(); table.Next()) {
    TEngineRecord r;
    for (const auto& column : EngineColumns())
      r.v[std::string(column.name)] = table.FieldByName(column.name).AsString();
    records.push_back(r);
  }
  EXPECT_EQ(table.RecordCount(), static_cast<int>(records.size()));
  table.Close();
  return records;
}

TEST(DataEngines, EveryLineOfTheMainTableHas36Values) {
  TSdfDataSet splitter;
  const std::vector<std::string> lines = CrLfLines("data/data.czc");
  ASSERT_FALSE(lines.empty());
  for (const std::string& line : lines) EXPECT_EQ(ValueCount(splitter, line), 36) << line;
}

TEST(DataEngines, ValueCountCountsTheWayTheTableReads) {
  TSdfDataSet splitter;
  const struct {
    const char* line;
    int values;
  } cases[] = {{"a", 1}, {"a,b", 2}, {"a,b,", 3}, {"a,,c", 3}, {"\"x,y\",b", 2}, {"a,\"b,c\",", 3}, {"", 0}};
  for (const auto& c : cases) EXPECT_EQ(ValueCount(splitter, c.line), c.values) << c.line;
}

TEST(DataEngines, EveryRecordHasAKnownTypeFrequencyAndMethod) {
  const std::set<std::string> types{"ENGINE", "FFA", "NETWORKS"};
  const std::set<std::string> freqs{"Daily", "Weekly", "Monthly", "Yearly"};
  const std::set<std::string> methods{"GET", "POST"};
  const std::set<std::string> pages{"All", "Index Only"};
  const std::set<std::string> confirm{"YES", "NO"};
  const std::vector<TEngineRecord> records = ReadEngines("data/data.czc");
  ASSERT_FALSE(records.empty());
  std::set<std::string> names, ids;
  for (const TEngineRecord& r : records) {
    SCOPED_TRACE(r["e_name"]);
    EXPECT_FALSE(r["e_name"].empty());
    EXPECT_TRUE(names.insert(r["e_name"]).second) << "duplicate name";
    EXPECT_TRUE(ids.insert(r["id"]).second) << "duplicate id";
    EXPECT_TRUE(types.count(r["enginetype"])) << r["enginetype"];
    EXPECT_TRUE(freqs.count(r["e_freq"])) << r["e_freq"];
    EXPECT_TRUE(methods.count(r["method"])) << r["method"];
    EXPECT_TRUE(pages.count(r["e_index"])) << r["e_index"];
    EXPECT_TRUE(confirm.count(r["confirm"])) << r["confirm"];
    EXPECT_EQ(r["db_type"], "english");
    EXPECT_TRUE(std::regex_match(r["e_count"], std::regex("[1-9][0-9]*"))) << r["e_count"];
    EXPECT_TRUE(r["e_url"].starts_with("https://") || r["e_url"].starts_with("http://"));
    EXPECT_TRUE(r["cgi_url"].starts_with("https://") || r["cgi_url"].starts_with("http://"));
    EXPECT_NE(r["e_name"], "RQZWEB");  // the name the catalogue deletes
    if (!r["cat_type"].empty()) {
      EXPECT_FALSE(r["cat"].empty());
    }
  }
}

// An IndexNow ping is a GET of /indexnow?url=...&key=...: the url column names the url
// field, the password column the key field, and no other value of the project is sent.
TEST(DataEngines, IndexNowRecordsSendOnlyTheUrlAndTheKey) {
  const std::vector<TEngineRecord> records = ReadEngines("data/data.czc");
  const std::set<std::string> sent{"url", "password"};
  int indexNow = 0;
  for (const TEngineRecord& r : records) {
    if (!r["cgi_url"].ends_with("/indexnow")) continue;
    ++indexNow;
    SCOPED_TRACE(r["e_name"]);
    EXPECT_TRUE(r["cgi_url"].starts_with("https://"));
    EXPECT_EQ(r["cgi_url"].find('?'), std::string::npos);
    EXPECT_EQ(r["method"], "GET");
    EXPECT_EQ(r["enginetype"], "ENGINE");
    EXPECT_EQ(r["url"], "url");
    EXPECT_EQ(r["password"], "key");
    for (const char* column : {"title", "descr", "cat", "cat_type", "fname", "lname", "company", "add1",
                               "add2", "email", "city", "state", "zip", "country", "phone", "fax", "key1",
                               "username", "password2", "hidden"})
      EXPECT_EQ(r[column], "") << column;
  }
  EXPECT_GE(indexNow, 2);
  // The shared endpoint is among them.
  EXPECT_TRUE(std::any_of(records.begin(), records.end(),
                          [](const TEngineRecord& r) { return r["cgi_url"] == "https://api.indexnow.org/indexnow"; }));
}

TEST(DataEngines, TheCustomTableShipsEmpty) {
  ASSERT_TRUE(Exists("data/datac.czc"));
  EXPECT_EQ(ReadBytes("data/datac.czc"), "");
  EXPECT_TRUE(ReadEngines("data/datac.czc").empty());
}

TEST(DataEngines, TheManualListHasANameAndTwoAddressesPerLine) {
  const std::vector<TManualEngine> list = LoadManualList(DataPath("data/datam.czc"));
  EXPECT_EQ(list.size(), CrLfLines("data/datam.czc").size());
  ASSERT_GE(list.size(), 5u);
  std::set<std::string> names;
  for (const TManualEngine& e : list) {
    SCOPED_TRACE(e.name);
    EXPECT_FALSE(e.name.empty());
    EXPECT_TRUE(names.insert(e.name).second);
    EXPECT_TRUE(e.homePage.starts_with("https://")) << e.homePage;
    EXPECT_TRUE(e.submitPage.starts_with("https://")) << e.submitPage;
  }
  EXPECT_TRUE(names.count("Google Search Console"));
  EXPECT_TRUE(names.count("Bing Webmaster Tools"));
}

TEST(DataEngines, SourcesNameEveryEngineAndRankingRecord) {
  const std::string sources = ReadBytes("SOURCES.md");
  ASSERT_FALSE(sources.empty());
  for (const TEngineRecord& r : ReadEngines("data/data.czc")) {
    EXPECT_NE(sources.find(r["e_name"]), std::string::npos) << r["e_name"];
    EXPECT_NE(sources.find(r["cgi_url"]), std::string::npos) << r["cgi_url"];
  }
  for (const TManualEngine& e : LoadManualList(DataPath("data/datam.czc")))
    EXPECT_NE(sources.find(e.name), std::string::npos) << e.name;
  TBigIniFile ranking(DataPath("data/ranking.czc"));
  for (const std::string& name : SectionLines(ranking, "List"))
    EXPECT_NE(sources.find(name), std::string::npos) << name;
  ranking.Close();
}

// ---------------------------------------------------------------------------------------------
// Category files.

std::vector<std::string> CategoryTypes() {
  std::vector<std::string> types;
  for (int i = 1; i <= 55; ++i)
    if (i != 49) types.push_back("SubCat" + std::to_string(i));
  return types;
}

TEST(DataCategories, TheEnglishListIsTheBuiltInListAndSpanishHasAsMany) {
  const TAppFolder folder(kDataDir);
  std::vector<std::string> english{"left alone?"}, spanish;
  LoadCategoryList(folder, "english", english);
  EXPECT_EQ(english, BuiltinCategories());
  LoadCategoryList(folder, "spanish", spanish);
  ASSERT_EQ(spanish.size(), 30u);
  EXPECT_EQ(std::set<std::string>(spanish.begin(), spanish.end()).size(), 30u);
  EXPECT_EQ(spanish[1], "Negocios");
  TBigIniFile ini(DataPath("data/catmatch.zro"));
  std::vector<std::string> sections;
  ini.ReadSectionNames(sections);
  EXPECT_EQ(sections, (std::vector<std::string>{"english", "spanish"}));
  ini.Close();
}

TEST(DataCategories, EveryCategoryHasAValueInEveryType) {
  TBigIniFile match(DataPath("data/catmatch.zro"));
  std::vector<std::string> categories = KeyList(match, "english");
  for (const std::string& k : KeyList(match, "spanish")) categories.push_back(k);
  match.Close();
  ASSERT_EQ(categories.size(), 60u);

  TBigIniFile map(DataPath("data/category.zro"));
  std::vector<std::string> sections;
  map.ReadSectionNames(sections);
  EXPECT_EQ(sections, CategoryTypes());
  for (const std::string& section : sections) {
    SCOPED_TRACE(section);
    std::set<std::string> values;
    for (const std::string& category : categories) {
      const std::string value = map.ReadText(section, category, "");
      EXPECT_FALSE(value.empty()) << category;
      EXPECT_EQ(value.find_first_of("\"\r\n"), std::string::npos) << value;
    }
    // English and Spanish names share the values of one category; the 30 categories differ,
    // except in the coarse directory vocabularies, which still tell most of them apart.
    for (const std::string& category : KeyList(map, section)) values.insert(map.ReadText(section, category, ""));
    EXPECT_GE(values.size(), 10u);
  }
  map.Close();
}

TEST(DataCategories, TranslationsOfSomeTypes) {
  const TAppFolder folder(kDataDir);
  const struct {
    const char* type;
    const char* category;
    const char* value;
  } cases[] = {
      {"Cat1", "Business", "Business"},     {"Cat1", "Negocios", "Business"},
      {"Cat2", "Sci-Tech", "sci-tech"},     {"Cat3", "Web_Stuff", "WEB_STUFF"},
      {"Cat4", "Web_Stuff", "Web_Stuff"},   {"Cat25", "Travel", "Viajes"},
      {"Cat26", "Viajes", "viajes"},        {"Cat29", "Automotive", "automocion"},
      {"Cat43", "Automotive", "1"},         {"Cat44", "Automotive", "01"},
      {"Cat45", "Web_Stuff", "030"},        {"Cat46", "Travel", "cat29"},
      {"Cat50", "Automotive", "0"},         {"Cat55", "Business", "10"},
      {"Cat7", "Computers", "Computers"},   {"Cat13", "Finance", "Business & Economy"},
      {"Cat19", "Employment", "Careers"},   {"Cat31", "Health", "Santé"},
      {"Cat37", "Travel", "Reisen"},        {"Cat12", "Sci-Tech", "Top/Science"},
      {"Cat1", "Unknown", "Business"},  // a missing key gives the proposed category
  };
  for (const auto& c : cases)
    EXPECT_EQ(TranslateCategory(folder, c.type, c.category), c.value) << c.type << " " << c.category;
}

// ---------------------------------------------------------------------------------------------
// Settings and history.

TEST(DataSettings, TheShippedSettingsHoldOnlyTheVersions) {
  TBigIniFile ini(DataPath("dfd.ini"));
  std::vector<std::string> sections;
  ini.ReadSectionNames(sections);
  EXPECT_EQ(sections, (std::vector<std::string>{"Application"}));
  EXPECT_EQ(KeyList(ini, "Application"),
            (std::vector<std::string>{"update", "db", "mandb", "cats", "rank", "software"}));
  for (const char* key : {"update", "db", "mandb", "cats", "rank"})
    EXPECT_EQ(ini.ReadText("Application", key, "0"), "1") << key;
  int32_t software = 0;
  EXPECT_TRUE(TBigIniFile::ParseNumber(ini.ReadText("Application", "software", ""), software));
  EXPECT_GT(software, 0);
  ini.Close();
}

TEST(DataHistory, TheEmptyHistoryIsTheLineOfColumnTitles) {
  EXPECT_EQ(ReadBytes("data/default.hst"), "Submit Date,Scheduled,Status,Generated Report,\r\n");
}

// ---------------------------------------------------------------------------------------------
// Ranking and meta tag catalogues.

TEST(DataRanking, EveryListedEngineHasAQueryPageExpressionAndMarker) {
  TBigIniFile ini(DataPath("data/ranking.czc"));
  const std::vector<std::string> list = SectionLines(ini, "List");
  ASSERT_GE(list.size(), 2u);
  std::vector<std::string> sections;
  ini.ReadSectionNames(sections);
  EXPECT_EQ(sections.size(), list.size() + 1);
  for (const std::string& name : list) {
    SCOPED_TRACE(name);
    EXPECT_EQ(name.find('='), std::string::npos);
    const std::string url = ini.ReadText(name, "url", "");
    EXPECT_TRUE(url.starts_with("https://") || url.starts_with("http://")) << url;
    EXPECT_EQ(Count(url, "$keyword"), 1u);
    EXPECT_EQ(Count(url, "$page"), 1u);
    const std::string page = ini.ReadText(name, "page", "");
    EXPECT_NE(page.find("$curpage"), std::string::npos);
    EXPECT_TRUE(std::regex_match(page, std::regex(R"((\$curpage|[0-9()+\-*/ ])+)"))) << page;
    const std::string remove = ini.ReadText(name, "remove", "");
    EXPECT_TRUE(remove.empty() || remove.ends_with(",")) << "text after the last comma is not used";
    const std::string search = ini.ReadText(name, "search", "searcherror");
    EXPECT_NE(search, "searcherror");
    EXPECT_GE(search.size(), 6u);
  }
  ini.Close();
}

// Every address the program requests from the shipped data: the main table's posting pages
// and home pages, the ranking queries (with a keyword and a page filled in) and the manual
// list. Each must be a well-formed https:// address that the HTTP client takes as one: it
// looks up the host, connects to port 443 and begins a TLS handshake naming the host. No
// network is used; this is as far as this machine can show that the client reaches them.
TEST(DataReach, EveryShippedAddressIsHttpsAndTheClientBeginsTls) {
  std::vector<std::pair<std::string, std::string>> addresses;  // where, address
  for (const TEngineRecord& r : ReadEngines("data/data.czc")) {
    addresses.emplace_back("data.czc " + r["e_name"] + " cgi_url", r["cgi_url"]);
    addresses.emplace_back("data.czc " + r["e_name"] + " e_url", r["e_url"]);
  }
  TBigIniFile ini(DataPath("data/ranking.czc"));
  for (const std::string& name : SectionLines(ini, "List")) {
    std::string url = ini.ReadText(name, "url", "");
    url.replace(url.find("$keyword"), 8, "blue+widget");
    url.replace(url.find("$page"), 5, "11");
    addresses.emplace_back("ranking.czc " + name, url);
  }
  ini.Close();
  for (const TManualEngine& e : LoadManualList(DataPath("data/datam.czc"))) {
    addresses.emplace_back("datam.czc " + e.name + " home page", e.homePage);
    addresses.emplace_back("datam.czc " + e.name + " submission page", e.submitPage);
  }
  ASSERT_GE(addresses.size(), 20u);
  const std::regex hostName(R"(([a-z0-9]([a-z0-9-]*[a-z0-9])?\.)+[a-z]{2,})");
  for (const auto& [where, url] : addresses) {
    SCOPED_TRACE(where + ": " + url);
    ASSERT_TRUE(url.starts_with("https://"));
    EXPECT_EQ(url.find_first_of(" \t\r\n\"<>\\#"), std::string::npos);
    const THttpUrl parts = SplitHttpUrl(url);
    EXPECT_EQ(parts.scheme, "https");
    EXPECT_FALSE(parts.hasUser);
    EXPECT_TRUE(std::regex_match(parts.host, hostName)) << parts.host;
    EXPECT_TRUE(parts.port.empty());
    EXPECT_EQ(parts.path.front(), '/');

    auto socket = std::make_unique<test::FakeSocket>();
    test::FakeSocket* fake = socket.get();
    fake->lookupAddress = "192.0.2.1";
    fake->tlsError = tls_error::kClosed;  // the handshake is where this machine must stop
    THttpCli cli(std::move(socket));
    cli.SetURL(url);
    const test::HttpOutcome o = test::RunHttp(cli, [&] { cli.Get(); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.error, http_error::kTlsClosed);
    EXPECT_EQ(fake->lookups, std::vector<std::string>{parts.host});
    EXPECT_EQ(fake->ports, std::vector<uint16_t>{443});
    EXPECT_EQ(fake->tlsPeers, std::vector<std::string>{parts.host});
  }
}

TEST(DataMetaTags, TheCatalogueHasTheUsualTagsWithTypesContentsAndHints) {
  TBigIniFile ini(DataPath("data/metatags.czc"));
  const std::vector<std::string> tags = SectionLines(ini, "Tags");
  for (const char* required : {"Title", "Description", "Keywords", "Author", "Copyright", "Robots",
                               "Revisit-After", "Language", "Distribution", "Rating", "Viewport"})
    EXPECT_NE(std::find(tags.begin(), tags.end(), required), tags.end()) << required;
  ASSERT_FALSE(tags.empty());
  EXPECT_EQ(tags[0], "Title");  // the editor opens on the first tag
  EXPECT_EQ(std::set<std::string>(tags.begin(), tags.end()).size(), tags.size());
  for (const std::string& tag : tags) {
    SCOPED_TRACE(tag);
    const std::string type = ini.ReadText(tag, "type", "");
    EXPECT_TRUE(type == "NAME" || type == "HTTP-EQUIV") << type;
    const std::string content = ini.ReadText(tag, "content", "");
    EXPECT_TRUE(content == "text" || content == "list") << content;
    const std::string list = ini.ReadText(tag, "list", "");
    if (content == "list") {
      EXPECT_FALSE(list.empty());
      EXPECT_FALSE(list.ends_with(",")) << "an empty last choice";
      EXPECT_EQ(list.find(",,"), std::string::npos);
      EXPECT_EQ(list.find(", "), std::string::npos) << "a choice with a leading blank";
    } else {
      EXPECT_TRUE(list.empty());
    }
    EXPECT_GE(ini.ReadText(tag, "hint", "").size(), 20u);
  }
  const std::string robots = ini.ReadText("Robots", "list", "");
  for (const char* value : {"index", "noindex", "follow", "nofollow", "all", "none", "noarchive"})
    EXPECT_NE(("," + robots + ",").find(std::string(",") + value + ","), std::string::npos) << value;
  ini.Close();
}

// ---------------------------------------------------------------------------------------------
// Report template.

TEST(DataReport, TheTemplateCutsIntoHeadRowsAndTail) {
  const std::string text = ReadBytes("data/domains/report-template.htm");
  const std::string start = "<!--STARTDATA-->", end = "<!--ENDDATA-->";
  ASSERT_EQ(Count(text, start), 1u);
  ASSERT_EQ(Count(text, end), 1u);
  const size_t s = text.find(start), e = text.find(end);
  ASSERT_LT(s, e);
  // On lines of their own: a line feed before each marker, CR LF right after it.
  EXPECT_EQ(text.substr(s - 2, 2), "\r\n");
  EXPECT_EQ(text.substr(s + start.size(), 2), "\r\n");
  EXPECT_EQ(text.substr(e - 2, 2), "\r\n");
  EXPECT_EQ(text.substr(e + end.size(), 2), "\r\n");
  const std::string head = text.substr(0, s), rows = text.substr(s, e - s), tail = text.substr(e + end.size());
  for (const char* p : {"$status", "$databases", "$total", "$ok", "$failed", "$timeout", "$domain", "$border",
                        "$cellpadding", "$cellspacing", "$weburl", "$webtitle", "$webdesc", "$webkeys", "$webcat"})
    EXPECT_NE(head.find(p), std::string::npos) << p;
  for (const char* p : {"$engname", "$engurl", "$engresult", "$engdatetime", "$engtype", "$engcount", "$id", "$band"})
    EXPECT_NE(rows.find(p), std::string::npos) << p;
  EXPECT_EQ(Fragments(rows).size() > 0, true);
  for (const std::string& f : Fragments(head + tail)) EXPECT_FALSE(f.starts_with("$eng")) << f;
  EXPECT_EQ(tail.find('$'), std::string::npos) << "placeholders in the tail stay unreplaced";
  EXPECT_NE(head.find(".band1"), std::string::npos);
  EXPECT_NE(head.find(".band2"), std::string::npos);
  EXPECT_NE(tail.find("</html>"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Doorway templates.

TEST(DataDoorways, EightDistinctTemplatesWithTheirPlaceholders) {
  std::set<std::string> texts;
  for (int n = 1; n <= 8; ++n) {
    const std::string file = "data/doorways/templates/template" + std::to_string(n) + ".html";
    SCOPED_TRACE(file);
    ASSERT_TRUE(Exists(file));
    CrLfLines(file);
    const std::string text = ReadBytes(file);
    EXPECT_TRUE(text.starts_with("<!DOCTYPE html>"));
    EXPECT_TRUE(texts.insert(text).second) << "same as another template";
    // The head is the template's own (charset, viewport, title, description, keywords and
    // copyright from their placeholders), not the meta tag block, whose Title, Viewport or
    // Content-Type line would repeat an element the page has: no $metatags.
    for (const char* p : {"$redirect", "$title", "$header", "$content", "$footer", "$pagebg",
                          "$background", "$bordercolor", "$tableborder", "$cellpadding", "$cellspacing",
                          "$tface", "$tsize", "$tcolor", "$bodyface", "$bodysize", "$bodycolor"})
      EXPECT_NE(text.find(p), std::string::npos) << p;
    EXPECT_TRUE(text.find("$vnav") != std::string::npos || text.find("$hnav") != std::string::npos);
    EXPECT_NE(text.find("name=\"viewport\""), std::string::npos);
    // The redirect defines Start(); the page calls it on load only when it is there.
    EXPECT_NE(text.find("typeof Start === \"function\""), std::string::npos);
    EXPECT_LT(text.find("$redirect"), text.find("typeof Start"));
    for (const char* tag : {"html", "head", "body", "style", "script", "main", "header", "footer", "nav"})
      EXPECT_TRUE(Balanced(text, tag)) << tag;
    EXPECT_TRUE(Exists("data/doorways/templates/template" + std::to_string(n) + ".png"));
  }
  // The content files are shipped only when they differ from the built-in texts.
  EXPECT_FALSE(Exists("data/doorheader.htm"));
  EXPECT_FALSE(Exists("data/doorcontent.htm"));
  EXPECT_FALSE(Exists("data/doorfooter.htm"));
}

// Case-insensitive count, for elements a template or a meta tag block may write in capitals.
size_t CountIgnoringCase(std::string text, std::string what) {
  for (std::string* t : {&text, &what})
    std::transform(t->begin(), t->end(), t->begin(), [](unsigned char c) { return std::tolower(c); });
  return Count(text, what);
}

// What `tidy -errors -q` says about a file (its errors and warnings), with its exit status;
// a failure when tidy cannot be run.
struct TidyResult {
  bool ran = false;
  int status = -1;
  std::string said;
};
TidyResult Tidy(const std::string& path) {
  QProcess tidy;
  tidy.setProcessChannelMode(QProcess::MergedChannels);
  tidy.start(QStringLiteral("tidy"), {QStringLiteral("-errors"), QStringLiteral("-q"), QString::fromStdString(path)});
  TidyResult r;
  if (!tidy.waitForStarted(10000) || !tidy.waitForFinished(30000)) return r;
  r.ran = true;
  r.status = tidy.exitCode();
  r.said = tidy.readAll().toStdString();
  return r;
}

#define QS_REQUIRE_TIDY(result)                                                    \
  do {                                                                             \
    if (!(result).ran) {                                                           \
      if (::qs::test::PeersRequired()) FAIL() << "tidy cannot be run";            \
      GTEST_SKIP() << "tidy is not installed (scripts/bootstrap installs it)";     \
    }                                                                              \
  } while (0)

// A page built from every template with the default options and blocks, for a project that
// includes every tag of the catalogue (Title, Viewport and Content-Type among them): each head
// element is there once, the body block reads as lines of its own, and tidy finds nothing.
TEST(DataDoorways, ABuiltPageHasEachHeadElementOnceAndPassesTidy) {
  test::TempFolder dir;
  TDoorwaySettings options;
  TDoorwayPage::BuiltinBlocks(options);
  TDoorwayProject project;
  project.url = project.editorUrl = "http://www.site.test/";
  project.title = "Red and green apples";
  project.description = "Apples of every colour, picked this week";
  project.copyright = "Copyright 2026 Site Ltd";
  project.keywords = "red apples, green apples,apple juice";
  project.metaTags =
      "<TITLE>Red and green apples</TITLE>\r\n"
      "<META NAME=\"Viewport\" CONTENT=\"width=device-width, initial-scale=1\">\r\n"
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">\r\n"
      "<META NAME=\"Robots\" CONTENT=\"index, follow\">\r\n";
  for (int n = 1; n <= 8; ++n) {
    SCOPED_TRACE("template " + std::to_string(n));
    const std::string page = BuildDoorwayPage(
        ReadBytes("data/doorways/templates/template" + std::to_string(n) + ".html"), options, project,
        [] { ADD_FAILURE() << "the project has a title"; });
    const size_t head = page.find("</head>");
    ASSERT_NE(head, std::string::npos);
    EXPECT_EQ(CountIgnoringCase(page, "<title"), 1u);
    EXPECT_EQ(CountIgnoringCase(page, "name=\"viewport\""), 1u);
    EXPECT_EQ(CountIgnoringCase(page, "charset"), 1u);
    EXPECT_EQ(CountIgnoringCase(page, "name=\"description\""), 1u);
    EXPECT_EQ(CountIgnoringCase(page, "name=\"keywords\""), 1u);
    EXPECT_NE(page.find("<title>Red and green apples</title>"), std::string::npos);
    EXPECT_LT(page.find("<title>"), head);
    // The body block's lines stay lines: its box keeps its line breaks.
    EXPECT_NE(page.find("white-space: pre-line"), std::string::npos);
    EXPECT_NE(page.find("below...\r\nred apples, green apples,apple juice\r\nThen"), std::string::npos);
    const std::string file = "page" + std::to_string(n) + ".html";
    dir.Write(file, page);
    const TidyResult tidy = Tidy(dir.Path(file));
    QS_REQUIRE_TIDY(tidy);
    EXPECT_EQ(tidy.said, "");
    EXPECT_EQ(tidy.status, 0);
  }
}

// Template 8 lays its three tiles in a grid of their own, so no column is left empty beside
// them at any width; the header and the footer span the page.
TEST(DataDoorways, Template8HasAsManyColumnsAsTiles) {
  const std::string text = ReadBytes("data/doorways/templates/template8.html");
  const size_t tiles = text.find("<div class=\"tiles\">");
  ASSERT_NE(tiles, std::string::npos);
  const size_t end = text.find("</div>", tiles);
  EXPECT_EQ(Count(text.substr(tiles, end - tiles), "class=\"box tile\""), 3u);
  EXPECT_NE(text.find(".tiles { display: grid;"), std::string::npos);
  EXPECT_EQ(text.find("grid-column: 1 / -1"), std::string::npos);
}

// A written report: its cards wrap a long word (the list of types has no blank), and tidy
// finds nothing in it.
TEST(DataReport, AWrittenReportPassesTidyAndItsCardsWrap) {
  const std::string text = ReadBytes("data/domains/report-template.htm");
  const size_t card = text.find(".card {");
  ASSERT_NE(card, std::string::npos);
  const std::string rule = text.substr(card, text.find('}', card) - card);
  EXPECT_NE(rule.find("overflow-wrap: anywhere"), std::string::npos) << rule;
  EXPECT_NE(rule.find("min-width: 0"), std::string::npos) << rule;

  test::TempFolder dir;
  dir.Write("data/domains/projects/site.test/Index.zro",
            "[Index]\r\nurl=http://www.site.test/\r\ntitle=Red & green apples\r\n"
            "description=Apples of every colour\r\nkey1=red,green\r\ncatagory=Business\r\n");
  TLanguageTable table;
  table.LoadBuiltin();
  TReportSettings settings;
  settings.templateFile = DataPath("data/domains/report-template.htm");
  const TAppFolder folder = dir.AppFolder();
  RunEntry entry;
  entry.domain = "site.test";
  entry.project = "Index";
  entry.lines[kStatusLine] = "Status: Complete";
  entry.lines[kKindsLine] = table.Lookup("107");
  entry.lines[kTotalLine] = "Total: 3";
  entry.lines[kOkLine] = "OK: 1";
  entry.lines[kFailedLine] = "Failed: 1";
  entry.lines[kTimeoutLine] = "Timeout: 1";
  auto row = [](const char* engine, const char* url, const char* result, const char* type,
                const char* count) {
    ActivityRow r;
    r.engine = engine;
    r.url = url;
    r.result = result;
    r.date = "12/11/2026 10:00:01";
    r.type = type;
    r.count = count;
    return r;
  };
  const std::vector<ActivityRow> rows = {
      row("Practice Engine 1", "http://127.0.0.1:8080/m1?url=http://www.site.test/&k=a", "OK",
          "Engine", "1"),
      row("Practice FFA 2", "http://127.0.0.1:8080/m2", "Failed", "FFA", "1"),
      row("Practice Network 3", "http://127.0.0.1:8080/m3", "Timeout", "Network", "2500")};
  const std::string path = TReportWriter(folder, table, settings).WriteReport(entry, rows, QDate(2026, 12, 11));
  EXPECT_NE(ReadFileBytes(path).value_or("").find("Submits to: Engines,FFAs,Networks"), std::string::npos);
  const TidyResult tidy = Tidy(path);
  QS_REQUIRE_TIDY(tidy);
  EXPECT_EQ(tidy.said, "");
  EXPECT_EQ(tidy.status, 0);
}

// ---------------------------------------------------------------------------------------------
// Help pages.

TEST(DataHelp, EveryPageTheHelpMenuNamesExists) {
  const char* pages[] = {"dompro.html",        "addnewdomain.html",   "addnewproject.html", "proinfo.html",
                         "prooptions.html",    "proschedule.html",    "prohistory.html",    "submitauto.html",
                         "submitman.html",     "subschedule.html",    "ranking.html",       "metatagcreator.html",
                         "metatageditor.html", "timeouts.html",       "proxy.html",         "reportoptions.html",
                         "doorwaybuilder.html", "datamain.html",      "dbupdate.html"};
  std::set<std::string> known(std::begin(pages), std::end(pages));
  EXPECT_EQ(known.size(), 19u);
  static const std::regex link(R"(href="([^"#:]+\.html)(#[^"]*)?")");
  for (const std::string page : pages) {
    SCOPED_TRACE(page);
    const std::string text = ReadBytes("data/help/" + page);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(text.starts_with("<!DOCTYPE html>"));
    EXPECT_EQ(Count(text, "<title>"), 1u);
    EXPECT_EQ(Count(text, "<h1>"), 1u);
    EXPECT_GT(text.size(), 800u);
    for (const char* tag : {"html", "head", "body", "p", "ul", "ol", "li", "table", "tr", "h2", "dl"})
      EXPECT_TRUE(Balanced(text, tag)) << tag;
    for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it)
      EXPECT_TRUE(known.count((*it)[1].str())) << "link to " << (*it)[1].str();
  }
  // The IndexNow note: a project's password is its IndexNow key.
  for (const char* page : {"proinfo.html", "submitauto.html", "datamain.html"})
    EXPECT_NE(ReadBytes(std::string("data/help/") + page).find("IndexNow"), std::string::npos) << page;
}

// ---------------------------------------------------------------------------------------------
// Images and skin, checked by their headers.

uint32_t Be32(const std::string& b, size_t at) {
  return (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
         (uint32_t(uint8_t(b[at + 2])) << 8) | uint8_t(b[at + 3]);
}
unsigned Le16(const std::string& b, size_t at) { return uint8_t(b[at]) | (unsigned(uint8_t(b[at + 1])) << 8); }

// Width and height of a PNG, or 0 x 0 when the bytes are no PNG.
std::pair<unsigned, unsigned> PngSize(const std::string& b) {
  if (b.size() < 24 || b.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || b.compare(12, 4, "IHDR") != 0) return {0, 0};
  return {Be32(b, 16), Be32(b, 20)};
}

// Width and height from the first start-of-frame segment of a JPEG, or 0 x 0.
std::pair<unsigned, unsigned> JpegSize(const std::string& b) {
  if (b.size() < 4 || uint8_t(b[0]) != 0xFF || uint8_t(b[1]) != 0xD8) return {0, 0};
  size_t at = 2;
  while (at + 9 < b.size() && uint8_t(b[at]) == 0xFF) {
    const uint8_t marker = uint8_t(b[at + 1]);
    const unsigned length = (unsigned(uint8_t(b[at + 2])) << 8) | uint8_t(b[at + 3]);
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return {(unsigned(uint8_t(b[at + 7])) << 8) | uint8_t(b[at + 8]),
              (unsigned(uint8_t(b[at + 5])) << 8) | uint8_t(b[at + 6])};
    at += 2 + length;
  }
  return {0, 0};
}

TEST(DataImages, HeaderReadersRecogniseOnlyTheirFormat) {
  std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string("\0\0\0\x0dIHDR", 8) +
                    std::string("\0\0\0\x10\0\0\0\x20", 8);
  EXPECT_EQ(PngSize(png), (std::pair<unsigned, unsigned>{16, 32}));
  png[1] = 'X';
  EXPECT_EQ(PngSize(png), (std::pair<unsigned, unsigned>{0, 0}));
  const std::string jpeg = std::string("\xFF\xD8\xFF\xE0\x00\x04xx\xFF\xC0\x00\x11\x08\x01\x67\x02\x82", 17) +
                           std::string(10, '\0');
  EXPECT_EQ(JpegSize(jpeg), (std::pair<unsigned, unsigned>{642, 359}));
  EXPECT_EQ(JpegSize("GIF89a"), (std::pair<unsigned, unsigned>{0, 0}));
}

TEST(DataImages, IconSplashTabsAndTrayFrames) {
  const std::string ico = ReadBytes("icon.ico");
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(Le16(ico, 0), 0u);
  EXPECT_EQ(Le16(ico, 2), 1u);  // an icon, not a cursor
  const unsigned images = Le16(ico, 4);
  EXPECT_GE(images, 3u) << "several sizes";
  std::set<unsigned> sizes;
  for (unsigned i = 0; i < images && 6 + 16 * (i + 1) <= ico.size(); ++i) sizes.insert(uint8_t(ico[6 + 16 * i]));
  EXPECT_TRUE(sizes.count(16) && sizes.count(32) && sizes.count(48));

  EXPECT_EQ(JpegSize(ReadBytes("splash.jpg")), (std::pair<unsigned, unsigned>{642, 359}));

  for (const char* tab : {"tab2on.gif", "tab2off.gif"}) {
    const std::string gif = ReadBytes(tab);
    ASSERT_GE(gif.size(), 14u) << tab;
    EXPECT_TRUE(gif.starts_with("GIF89a") || gif.starts_with("GIF87a")) << tab;
    EXPECT_GT(Le16(gif, 6), 0u);
    EXPECT_GT(Le16(gif, 8), 0u);
    EXPECT_EQ(gif.back(), ';') << "trailer";
  }
  EXPECT_NE(ReadBytes("tab2on.gif"), ReadBytes("tab2off.gif"));

  for (const char* kind : {"normal", "scheduled"}) {
    std::set<std::string> frames;
    for (int i = 1; i <= 16; ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "tray/%s%02d.png", kind, i);
      const std::string png = ReadBytes(name);
      EXPECT_EQ(PngSize(png), (std::pair<unsigned, unsigned>{32, 32})) << name;
      frames.insert(png);
    }
    EXPECT_EQ(frames.size(), 16u) << kind << ": every frame differs";
  }
  for (int n = 1; n <= 8; ++n) {
    const auto size = PngSize(ReadBytes("data/doorways/templates/template" + std::to_string(n) + ".png"));
    EXPECT_GT(size.first, 0u);
    EXPECT_GT(size.second, 0u);
  }
}

TEST(DataSkin, TheSkinIsABalancedStyleSheet) {
  const std::string skin = ReadBytes("skin.skn");
  ASSERT_FALSE(skin.empty());
  int depth = 0;
  for (char c : skin) {
    if (c == '{') ++depth;
    if (c == '}') --depth;
    ASSERT_GE(depth, 0);
    ASSERT_LE(depth, 1);
  }
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(Count(skin, "/*"), Count(skin, "*/"));
  for (const char* widget : {"QMainWindow", "QPushButton", "QLineEdit", "QTabBar", "QTreeView", "QHeaderView"})
    EXPECT_NE(skin.find(widget), std::string::npos) << widget;
  // A sheet that styles a spin box's frame takes over its arrows too, and must draw them;
  // this one leaves spin boxes, date and time fields to the platform.
  for (const char* widget : {"QSpinBox", "QAbstractSpinBox", "QDateEdit", "QTimeEdit", "QDateTimeEdit"})
    EXPECT_EQ(skin.find(widget), std::string::npos) << widget;
}

}  // namespace
}  // namespace qs

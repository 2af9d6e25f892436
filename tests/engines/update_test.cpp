// The Update command against a scripted update server on loopback, on a copy of the
// installation data: the check, the data archive with its signature, the software archive.
#include "engines/databaseupdate.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTcpServer>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/clock.h"
#include "app/errors.h"
#include "app/text.h"
#include "engines/updatefixture.h"
#include "engines/updateinfo.h"
#include "net/tlstrust.h"
#include "support/peers.h"
#include "support/scriptserver.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

using test::Close;
using test::Script;
using test::ScriptServer;
using test::Write;

const char* const kRqzRecord =
    "9,RQZWEB,ENGINE,english,,International,1,Weekly,All,,http://rqz/,http://rqz/s,GET,,url";

Script Answer(const std::string& body) {
  return {Write("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                std::to_string(body.size()) + "\r\n\r\n" + body),
          Close()};
}
Script Status(int code) {
  const std::string body = "<html>no</html>";
  return {Write("HTTP/1.0 " + std::to_string(code) + " Whatever\r\nContent-Length: " +
                std::to_string(body.size()) + "\r\n\r\n" + body),
          Close()};
}

class UpdateTest : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy(QS_SOURCE_DIR "/data", dir.Root(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    WriteVersions("4", "6", "55");
  }
  void TearDown() override {
    if (summit) summit->catalogue.Close();
  }
  void WriteVersions(const std::string& update, const std::string& db,
                     const std::string& software, const std::string& base = "") {
    dir.Write("dfd.ini", "[Application]\r\nupdate=" + update + "\r\ndb=" + db +
                             "\r\nmandb=2\r\ncats=3\r\nrank=1\r\nsoftware=" + software +
                             "\r\nupdateurl=" + (base.empty() ? std::string("@BASE@/") : base) +
                             "\r\n");
  }
  std::string Setting(const std::string& key) {
    TBigIniFile ini(dir.Path("dfd.ini"));
    const std::string value = ini.ReadText("Application", key, "(none)");
    ini.Close();
    return value;
  }
  // An update-info.txt with the stored numbers and `changes` over them.
  static std::string Info(const std::string& changes) {
    std::string info = changes;
    const auto given = ReadKeyValues(changes);
    for (const auto& [key, value] : std::map<std::string, std::string>{
             {"db", "6"}, {"mandb", "2"}, {"cats", "3"}, {"rank", "1"}, {"software", "55"}})
      if (!given.count(key)) info += key + "=" + value + "\r\n";
    return info;
  }
  // The data archive and its signature, as two answers.
  std::vector<Script> Signed(const std::string& archive) {
    return {Answer(archive), Answer(signer.Sign(archive))};
  }
  std::string DataArchive(const std::string& info, test::Files more = {}) {
    more.insert(more.begin(), {"update-info.txt", info});
    return test::GcabArchive(more);
  }

  // Starts the program's state as start-up leaves it and runs one update to its end.
  // Each run has a server of its own (connections take the scripts in order).
  void Serve(std::vector<Script> scripts) {
    server = std::make_unique<ScriptServer>(std::move(scripts), tls);
    dir.Write("dfd.ini", ReplaceAll(dir.Read("dfd.ini"), "@BASE@",
                                    tls ? server->TlsBase() : server->Base()));
  }
  TDatabaseUpdate& Run(std::vector<Script> scripts) {
    Serve(std::move(scripts));
    if (!summit) {
      summit = std::make_unique<TSummit>(dir.AppFolder());
      EXPECT_TRUE(summit->Start(answerer));
    }
    update = std::make_unique<TDatabaseUpdate>(*summit, answerer, signer.Key());
    update->Tree().OnTextChange = [this](TUpdateTree::TChild child, bool progress) {
      if (progress) progressLines.push_back(update->Tree().Child(child).text);
    };
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, [&] {
      ADD_FAILURE() << "the update did not end";
      loop.quit();
    });
    update->OnFinished = [&](bool) { loop.quit(); };
    update->Update();
    if (update->Busy()) {
      guard.start(20000);
      loop.exec();
    }
    return *update;
  }
  std::vector<std::string> RequestLines() const {
    std::vector<std::string> lines;
    for (const auto& r : server->Requests()) lines.push_back(r.substr(0, r.find("\r\n")));
    return lines;
  }
  static std::vector<std::string> Lines(const TDatabaseUpdate& u, TUpdateTree::TChild child) {
    std::vector<std::string> out;
    for (const auto& line : u.Tree().Child(child).lines) out.push_back(line.Html());
    return out;
  }

  test::TempFolder dir;
  std::optional<test::CertAndKey> tls;  // the update server speaks TLS with it
  std::unique_ptr<ScriptServer> server;
  test::TestSigner signer;
  TScriptedAnswerer answerer;
  std::unique_ptr<TSummit> summit;
  std::unique_ptr<TDatabaseUpdate> update;
  std::vector<std::string> progressLines;
  clock::Fixed today{QDateTime(QDate(2026, 12, 10), QTime(12, 0), Qt::LocalTime)};
};

const std::string kGreenOpen = "<font color=\"#008800\">";
const std::string kRedOpen = "<font color=\"#FF0000\">";

TEST_F(UpdateTest, CurrentVersionsDownloadNothing) {
  WriteVersions("5", "6", "55");
  TDatabaseUpdate& u = Run({Answer("update=5\r\nsoftware=55\r\n")});
  EXPECT_EQ(u.Tree().Texts(),
            (std::vector<std::string>{"<b>Checking for updates</b>",
                                      "Status: <b>Update Completed</b>",
                                      "Databases: <b>Current</b>",
                                      "Software Updates: <b>Current</b>"}));
  EXPECT_TRUE(u.Tree().Expanded());
  EXPECT_TRUE(u.Succeeded());
  ASSERT_EQ(server->Requests().size(), 1u);
  const std::string request = server->Requests()[0];
  EXPECT_EQ(RequestLines()[0], "GET /summit/softup.php?db_type=english HTTP/1.0");
  EXPECT_NE(request.find("\r\nUser-Agent: zedra updater\r\n"), std::string::npos) << request;
  EXPECT_EQ(Setting("update"), "5");
  EXPECT_FALSE(dir.Exists("data.cab"));
}

TEST_F(UpdateTest, TheRequestsGoThroughTheProxy) {
  WriteVersions("5", "6", "55", "http://updates.example.invalid");
  dir.Write("dfd.ini", dir.Read("dfd.ini") +
                           "[Proxy]\r\nKeyProxy=1\r\nProxyHost=127.0.0.1\r\nProxyPort=@PORT@\r\n");
  server = std::make_unique<ScriptServer>(std::vector<Script>{Answer("update=5\r\nsoftware=55\r\n")});
  dir.Write("dfd.ini", ReplaceAll(dir.Read("dfd.ini"), "@PORT@", std::to_string(server->Port())));
  summit = std::make_unique<TSummit>(dir.AppFolder());
  ASSERT_TRUE(summit->Start(answerer));
  TDatabaseUpdate u(*summit, answerer, signer.Key());
  QEventLoop loop;
  u.OnFinished = [&](bool) { loop.quit(); };
  u.Update();
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  if (u.Busy()) loop.exec();
  EXPECT_TRUE(u.Succeeded());
  EXPECT_EQ(RequestLines(), (std::vector<std::string>{
                                "GET http://updates.example.invalid/summit/softup.php?db_type=english "
                                "HTTP/1.0"}));
}

TEST_F(UpdateTest, OverHttpsTheArchiveIsInstalledOnlyWithItsSignature) {
  test::TestCa ca;
  QS_REQUIRE_PEER(ca);
  const std::string archive = DataArchive(Info("db=7\r\nupdate=5\r\n"));
  const Script check = Answer("update=5\r\nsoftware=55\r\n");
  struct Case {
    const char* name;
    test::CertAndKey certificate;
    std::vector<Script> scripts;
    bool succeeded;
    std::string line;  // the red line, if any
    std::string db;    // [Application] db afterwards
  };
  const std::vector<Case> cases = {
      {"signed", ca.Localhost(), {check, Answer(archive), Answer(signer.Sign(archive))}, true, "",
       "7"},
      {"signature wrong", ca.Localhost(), {check, Answer(archive), Answer(std::string(64, 'x'))},
       false, "There was an error downloading the update Code# 01-signature", "6"},
      {"server not trusted", ca.SelfSigned(), {check}, false,
       "There was an error downloading the update Code# 00-404", "6"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteVersions("4", "6", "55");
    dir.Write("dfd.ini", dir.Read("dfd.ini") + "[Security]\r\ncafile=" + ca.CaFile() + "\r\n");
    tls = c.certificate;
    TDatabaseUpdate& u = Run(c.scripts);
    EXPECT_EQ(u.Succeeded(), c.succeeded);
    EXPECT_EQ(Setting("db"), c.db);
    if (!c.line.empty()) {
      ASSERT_EQ(u.Tree().Child(TUpdateTree::Status).lines.size(), 1u);
      EXPECT_EQ(u.Tree().Child(TUpdateTree::Status).lines[0].Html(), kRedOpen + c.line + "</font>");
    }
  }
  SetExtraCaFile("");
}

TEST_F(UpdateTest, NewerDataWithOneNewerComponent) {
  const std::string newTable =
      "1,Fresh,ENGINE,english,,International,1,Weekly,All,,http://f/,http://f/s,GET,,url\r\n";
  const std::string archive = DataArchive(Info("db=7\r\nupdate=5\r\n"),
                                          {{"data/data.czc", newTable},
                                           {"data/datam.czc", "A,http://a/,http://a/s\r\n"
                                                              "B,http://b/,http://b/s\r\n"}});
  auto scripts = Signed(archive);
  scripts.insert(scripts.begin(), Answer("update=5\r\nsoftware=55\r\n"));
  TDatabaseUpdate& u = Run(std::move(scripts));
  EXPECT_EQ(RequestLines(), (std::vector<std::string>{
                                "GET /summit/softup.php?db_type=english HTTP/1.0",
                                "GET /summit/english-data.cab HTTP/1.0",
                                "GET /summit/english-data.cab.sig HTTP/1.0"}));
  EXPECT_EQ(u.Tree().Child(TUpdateTree::Databases).text, "Databases: <b>Update available</b>");
  EXPECT_EQ(Lines(u, TUpdateTree::Databases),
            (std::vector<std::string>{kGreenOpen + "Main Database Updated</font>"}));
  EXPECT_EQ(u.StatusLine(), "Status: <b>Update Completed</b>");
  EXPECT_TRUE(u.Succeeded());
  EXPECT_EQ(Setting("db"), "7");
  EXPECT_EQ(Setting("update"), "5");
  EXPECT_EQ(Setting("mandb"), "2");
  EXPECT_EQ(Setting("software"), "55");
  EXPECT_EQ(Setting("dbup"), "12/10/2026");
  EXPECT_EQ(u.DatabasesUpdated(), "12/10/2026");
  EXPECT_EQ(dir.Read("data.cab"), archive);
  EXPECT_EQ(dir.Read("data/data.czc"), newTable);
  // The main table is open again on the new file and counted; the manual list reloaded.
  EXPECT_TRUE(summit->catalogue.EnginesTable.Active());
  EXPECT_EQ(summit->catalogue.Counters(summit->catalogue.EnginesTable).total, 1);
  EXPECT_EQ(summit->manualEngines.size(), 2u);
  ASSERT_FALSE(progressLines.empty());
  EXPECT_EQ(progressLines.back(), "Status: <b>Downloading database updates...</b> " +
                                      std::to_string(archive.size()));
}

TEST_F(UpdateTest, AnArchiveWithNoNewerComponentChangesNoVersion) {
  const std::string archive = DataArchive(Info("update=5\r\n"));
  auto scripts = Signed(archive);
  scripts.insert(scripts.begin(), Answer("update=5\r\nsoftware=55\r\n"));
  TDatabaseUpdate& u = Run(std::move(scripts));
  EXPECT_TRUE(Lines(u, TUpdateTree::Databases).empty());
  EXPECT_EQ(Setting("update"), "4");  // so the next check offers the same data again
  EXPECT_EQ(Setting("db"), "6");
  EXPECT_TRUE(u.Succeeded());
}

TEST_F(UpdateTest, NewerSoftwareInTheDataIsFetchedAfterIt) {
  const std::string data = DataArchive(Info("software=56\r\nrank=2\r\nupdate=5\r\n"));
  const std::string software = test::GcabArchive({{"quorvex-summit", "new program"}});
  auto scripts = Signed(data);
  scripts.insert(scripts.begin(), Answer("update=5\r\nsoftware=55\r\n"));
  for (auto& s : Signed(software)) scripts.push_back(std::move(s));
  TDatabaseUpdate& u = Run(std::move(scripts));
  ASSERT_EQ(RequestLines().size(), 5u);
  EXPECT_EQ(RequestLines()[3], "GET /summit/english-software.cab HTTP/1.0");
  EXPECT_EQ(RequestLines()[4], "GET /summit/english-software.cab.sig HTTP/1.0");
  EXPECT_EQ(Lines(u, TUpdateTree::Databases),
            (std::vector<std::string>{kGreenOpen + "Ranking Database Updated</font>"}));
  EXPECT_EQ(Lines(u, TUpdateTree::Software),
            (std::vector<std::string>{
                kRedOpen + "To complete this update please shut down and restart this software</font>"}));
  EXPECT_EQ(Setting("software"), "56");
  EXPECT_EQ(dir.Read("software.cab"), software);
  EXPECT_EQ(dir.Read("software.cab.sig"), signer.Sign(software));
}

TEST_F(UpdateTest, OnlyNewerSoftwareIsFetchedDirectly) {
  const std::string software = test::GcabArchive({{"quorvex-summit", "new program"}});
  WriteVersions("5", "6", "55");
  auto scripts = Signed(software);
  scripts.insert(scripts.begin(), Answer("update=5\r\nsoftware=57\r\n"));
  TDatabaseUpdate& u = Run(std::move(scripts));
  EXPECT_EQ(RequestLines(), (std::vector<std::string>{
                                "GET /summit/softup.php?db_type=english HTTP/1.0",
                                "GET /summit/english-software.cab HTTP/1.0",
                                "GET /summit/english-software.cab.sig HTTP/1.0"}));
  EXPECT_EQ(u.Tree().Child(TUpdateTree::Databases).text, "Databases: <b>Current</b>");
  EXPECT_EQ(u.Tree().Child(TUpdateTree::Software).text,
            "Software Updates: <b>Update available</b>");
  EXPECT_EQ(u.Tree().RedLines(), 1);  // the restart request, which is no failure
  EXPECT_TRUE(u.Succeeded());
  EXPECT_EQ(dir.Read("software.cab"), software);
  EXPECT_EQ(Setting("softup"), "12/10/2026");
  EXPECT_EQ(u.SoftwareUpdated(), "12/10/2026");
  EXPECT_EQ(Setting("software"), "57");
  EXPECT_FALSE(dir.Exists("data.cab"));
}

TEST_F(UpdateTest, FailedTransfersAreRedLinesWithTheirPhaseAndStatus) {
  // A port nothing listens on: the client reports 404.
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
  const std::string deadBase = "http://127.0.0.1:" + std::to_string(closed.serverPort());
  closed.close();
  struct {
    const char* name;
    std::vector<Script> scripts;
    std::string base;
    TUpdateTree::TChild child;
    std::string line;
    std::string software;  // [Application] software afterwards
  } cases[] = {
      {"check answered 500", {Status(500)}, "", TUpdateTree::Status,
       "There was an error downloading the update Code# 00-500", "55"},
      {"no connection", {}, deadBase, TUpdateTree::Status,
       "There was an error downloading the update Code# 00-404", "55"},
      {"data archive missing", {Answer("update=5\r\nsoftware=55\r\n"), Status(404)}, "",
       TUpdateTree::Status, "There was an error downloading the update Code# 01-404", "55"},
      {"software archive failing",
       {Answer("update=4\r\nsoftware=56\r\n"), Status(503)}, "", TUpdateTree::Software,
       "There was an error downloading the update Code# 02-503", "1"},
      {"data signature missing",
       {Answer("update=5\r\nsoftware=55\r\n"), Answer("not even a cabinet"), Status(404)}, "",
       TUpdateTree::Status, "There was an error downloading the update Code# 01-signature", "55"},
      {"software signature wrong",
       {Answer("update=4\r\nsoftware=56\r\n"), Answer("program"), Answer(std::string(64, 'x'))},
       "", TUpdateTree::Software, "There was an error downloading the update Code# 02-signature",
       "1"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteVersions("4", "6", "55", c.base);
    const std::string tableBefore = dir.Read("data/data.czc");
    TDatabaseUpdate& u = Run(std::move(c.scripts));
    EXPECT_EQ(u.Tree().RedLines(), 1);
    ASSERT_EQ(u.Tree().Child(c.child).lines.size(), 1u);
    EXPECT_EQ(u.Tree().Child(c.child).lines[0].Html(), kRedOpen + c.line + "</font>");
    EXPECT_FALSE(u.Succeeded());
    EXPECT_FALSE(u.Busy());
    EXPECT_EQ(Setting("software"), c.software);
    EXPECT_EQ(Setting("update"), "4");
    EXPECT_FALSE(dir.Exists("software.cab"));
    EXPECT_FALSE(dir.Exists("data.cab"));
    EXPECT_EQ(dir.Read("data/data.czc"), tableBefore);
    EXPECT_TRUE(summit->catalogue.EnginesTable.Active());
  }
  EXPECT_TRUE(answerer.Calls().empty());  // download errors show no dialog
}

TEST_F(UpdateTest, ACheckAnswerThatIsNoNumberStopsWithAConversionError) {
  TDatabaseUpdate& u = Run({Answer("update=five\r\nsoftware=55\r\n")});
  ASSERT_EQ(answerer.Calls().size(), 1u);
  EXPECT_EQ(answerer.Calls()[0].text, "'five' is not a valid integer value");
  EXPECT_FALSE(u.Succeeded());
  EXPECT_EQ(server->Requests().size(), 1u);
}

TEST_F(UpdateTest, ANonNumberInUpdateInfoStopsTheUpdateWithTheTableOpenAgain) {
  auto scripts = Signed(DataArchive(Info("db=7\r\nmandb=x3\r\nupdate=5\r\nsoftware=56\r\n")));
  scripts.insert(scripts.begin(), Answer("update=5\r\nsoftware=55\r\n"));
  TDatabaseUpdate& u = Run(std::move(scripts));
  ASSERT_EQ(answerer.Calls().size(), 1u);
  EXPECT_EQ(answerer.Calls()[0].text, "'x3' is not a valid integer value");
  EXPECT_FALSE(u.Succeeded());
  EXPECT_EQ(Setting("db"), "7");  // the comparisons before the broken one stand
  EXPECT_EQ(Setting("software"), "55");
  EXPECT_EQ(server->Connections(), 3);  // no software download
  EXPECT_TRUE(summit->catalogue.EnginesTable.Active());
}

TEST(UpdateVersions, KeyValueLinesAndWholeNumbers) {
  const auto values = ReadKeyValues("update=5\r\nsoftware= 7\rjunk line\nupdate=6\n=x\nempty=");
  EXPECT_EQ(values, (std::map<std::string, std::string>{
                        {"update", "5"}, {"software", " 7"}, {"", "x"}, {"empty", ""}}));
  EXPECT_EQ(VersionOf(values, "software"), 7);
  EXPECT_EQ(VersionNumber("-3"), -3);
  EXPECT_EQ(VersionNumber("+12"), 12);
  for (const char* bad : {"", " ", "5a", "0x10", "1.5", "99999999999999999999", "-"}) {
    try {
      VersionNumber(bad);
      ADD_FAILURE() << bad;
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
  EXPECT_THROW(VersionOf(values, "missing"), ConversionError);
}

TEST_F(UpdateTest, AnUnsavedChangeOfTheMainTableIsWrittenBeforeTheArchiveUnpacks) {
  // Start-up first, then the user's change, kept in memory only.
  summit = std::make_unique<TSummit>(dir.AppFolder());
  ASSERT_TRUE(summit->Start(answerer));
  TSdfDataSet& table = summit->catalogue.EnginesTable;
  table.First();
  table.Edit();
  table.FieldByName("e_name").SetAsString("Changed by the user");
  table.Post();
  ASSERT_EQ(dir.Read("data/data.czc").find("Changed by the user"), std::string::npos);

  auto scripts = Signed(DataArchive(Info("mandb=3\r\nupdate=5\r\n")));
  scripts.insert(scripts.begin(), Answer("update=5\r\nsoftware=55\r\n"));
  TDatabaseUpdate& u = Run(std::move(scripts));
  EXPECT_TRUE(u.Succeeded());
  EXPECT_NE(dir.Read("data/data.czc").find("Changed by the user"), std::string::npos);
  table.First();
  EXPECT_EQ(table.FieldByName("e_name").AsString(), "Changed by the user");
  EXPECT_EQ(Setting("mandb"), "3");
}

TEST_F(UpdateTest, TheRqzwebRuleRemovesTheRecordTheUpdateBroughtBack) {
  dir.Write("dfd.ini", dir.Read("dfd.ini") + "app=RQZ Summit\r\n");
  const std::string table = dir.Read("data/data.czc");
  auto scripts = Signed(
      DataArchive(Info("db=7\r\nupdate=5\r\n"), {{"data/data.czc", table + kRqzRecord + "\r\n"}}));
  scripts.insert(scripts.begin(), Answer("update=5\r\nsoftware=55\r\n"));
  Run(std::move(scripts));
  TSdfDataSet& t = summit->catalogue.EnginesTable;
  ASSERT_TRUE(t.Active());
  EXPECT_FALSE(t.Locate("e_name", {"RQZWEB"}, {}));
  summit->catalogue.Close();
  EXPECT_EQ(dir.Read("data/data.czc").find("RQZWEB"), std::string::npos);
}

TEST_F(UpdateTest, AnArchiveThatCannotBeInstalledIsReportedAndTheTableReopened) {
  struct {
    const char* name;
    std::string archive;
    const char* reason;
  } cases[] = {
      {"not a cabinet", "signed, but no cabinet", "not a cabinet"},
      {"no update-info.txt", test::GcabArchive({{"data/datam.czc", "X,http://x/,http://x/s\r\n"}}),
       "no update-info.txt"},
      {"path traversal",
       test::RawCabinet({{"update-info.txt", "db=9\r\nupdate=9\r\n"}, {"..\\escaped.txt", "evil"}}),
       "outside the target folder"},
  };
  // An update-info.txt of an earlier update must not pass for the new archive's.
  dir.Write("update-info.txt", Info("db=8\r\nupdate=8\r\n"));
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteVersions("4", "6", "55");
    auto scripts = Signed(c.archive);
    scripts.insert(scripts.begin(), Answer("update=5\r\nsoftware=55\r\n"));
    TDatabaseUpdate& u = Run(std::move(scripts));
    ASSERT_EQ(u.Tree().Child(TUpdateTree::Status).lines.size(), 1u);
    const TUpdateLine& line = u.Tree().Child(TUpdateTree::Status).lines[0];
    EXPECT_EQ(line.colour, TUpdateColour::Red);
    EXPECT_EQ(line.text.rfind("There was an error downloading the update Code# 01-unpack: ", 0), 0u)
        << line.text;
    EXPECT_NE(line.text.find(c.reason), std::string::npos) << line.text;
    EXPECT_TRUE(summit->catalogue.EnginesTable.Active());
    EXPECT_EQ(Setting("update"), "4");
    EXPECT_EQ(Setting("db"), "6");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir.Root()).parent_path() /
                                         "escaped.txt"));
  }
}

TEST_F(UpdateTest, ASecondUpdateWhileOneRunsChangesNothing) {
  Serve({{test::Pause(300), Write("HTTP/1.0 200 OK\r\n\r\nupdate=4\r\nsoftware=55\r\n"),
           Close()}});
  summit = std::make_unique<TSummit>(dir.AppFolder());
  ASSERT_TRUE(summit->Start(answerer));
  TDatabaseUpdate u(*summit, answerer, signer.Key());
  int builds = 0;
  u.Tree().OnBuild = [&] { ++builds; };
  QEventLoop loop;
  u.OnFinished = [&](bool) { loop.quit(); };
  u.Update();
  ASSERT_TRUE(u.Busy());
  u.Tree().AddLine(TUpdateTree::Status, "marker", TUpdateColour::Green);
  u.Update();
  EXPECT_EQ(builds, 1);
  EXPECT_EQ(u.Tree().Child(TUpdateTree::Status).lines.size(), 1u);
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(server->Connections(), 1);
  EXPECT_EQ(u.Tree().Child(TUpdateTree::Databases).text, "Databases: <b>Current</b>");
}

}  // namespace
}  // namespace qs

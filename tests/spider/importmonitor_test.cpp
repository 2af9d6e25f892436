// The import monitor against scripted pages: the status line of each mode, the projects it
// creates, the "add" and "update" links, Stop, a request that cannot start, options that
// are not numbers, the bounded page buffer and a new start during a fetch.
#include "spider/importmonitor.h"

#include <gtest/gtest.h>

#include "projects/domainstore.h"
#include "spider/importfixture.h"
#include "support/scriptserver.h"

namespace qs {
namespace {

using test::Close;
using test::Hang;
using test::Script;
using test::ScriptServer;
using test::Write;

Script Page(const std::string& body, const std::string& status = "200 OK") {
  return {Write("HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\n\r\n" + body), Close()};
}

class ImportMonitorTest : public test::ImportFixture {
 protected:
  std::string Url(const std::string& path) const { return server.Base() + path; }
  ScriptServer server;
};

TEST(ImportStatusTest, StatusLineByModeReasonAndProjectList) {
  const TLanguageTable language;
  const TImportTexts t(language);
  const std::string u = "http://h.test/p.html";
  struct Case {
    TImportMode mode;
    const char* reason;
    bool isProject;
    std::string text;
    bool creates;
  } cases[] = {
      {TImportMode::UpdateProject, "OK", false,
       "Status: <b>OK <a href=\"update\" value=\"" + u + "\">Update it?</a>", false},
      {TImportMode::UpdateProject, "Not Found", true,
       "Status: <b>Not Found <a href=\"update\" value=\"" + u + "\">Update it?</a>", false},
      {TImportMode::AddSpidered, "Not Found", false,
       "Status: <b>Not Found Failed to add project</b>", false},
      {TImportMode::AddSpidered, "Ok", false, "Status: <b>Ok Failed to add project</b>", false},
      {TImportMode::AddSpidered, "Not Found", true,
       "Status: <b>Not Found Failed to add project</b>", false},
      {TImportMode::AddSpidered, "OK", true,
       "Status: <b>OK Project already exists.</b> <a href=\"update\" value=\"" + u +
           "\">Update it?</a>",
       false},
      {TImportMode::JustSpider, "OK", true,
       "Status: <b>OK Project already exists.</b> <a href=\"update\" value=\"" + u +
           "\">Update it?</a>",
       false},
      {TImportMode::AddSpidered, "OK", false, "Status: <b>OK Succesfully added new project</b>",
       true},
      {TImportMode::JustSpider, "Moved Permanently", false, "Status: <b>Moved Permanently</b>",
       false},
      {TImportMode::JustSpider, "OK", false,
       "Status: <b>OK</b> <a href=\"add\" value=\"" + u + "\">Add to projects?</a>", false},
  };
  for (const auto& c : cases) {
    const TPageStatus s = PageStatus(c.mode, c.reason, u, c.isProject, t);
    EXPECT_EQ(s.text, c.text);
    EXPECT_EQ(s.createsProject, c.creates) << c.text;
  }
}

TEST(ImportLogTest, TrimmedLinesKeepTheNewestThirtyBeforeTheirOwn) {
  TImportLog log;
  size_t removed = 0;
  log.OnChange = [&](size_t r, const std::string&) { removed += r; };
  for (int i = 0; i < 40; ++i) log.Add("line " + std::to_string(i), true);
  ASSERT_EQ(log.Lines().size(), 31u);
  EXPECT_EQ(log.Lines().front(), "line 9");
  EXPECT_EQ(log.Lines().back(), "line 39");
  EXPECT_EQ(removed, 9u);
  log.Add("untrimmed", false);
  EXPECT_EQ(log.Lines().size(), 32u);
  log.Add("trimmed", true);
  EXPECT_EQ(log.Lines().size(), 31u);
  EXPECT_EQ(log.Lines().front(), "line 11");
}

TEST_F(ImportMonitorTest, AddSpideredCreatesEachGoodPageAtOnceUnlessItIsAProject) {
  AddProject(Url("/exists.html"), "/exists.html", "Old title");
  server.SetScripts({
      Page("<title>Home</title><meta name=\"description\" content=\"Root page\">"
           "<meta name=\"keywords\" content=\"k1,k2\">"
           "<a href=\"a.html\"><a href=\"b.html\"><a href=\"exists.html\"><a href=\"a.html\">"
           "<a href=\"c.HTML\">"),
      Page("<title>Page A</title>"),
      Page("<title>gone</title><a href=\"never.html\">", "404 Not Found"),
      Page("<title>Exists</title>"),
      Page("", "404 Not Found"),
  });
  ASSERT_EQ(Run(TImportMode::AddSpidered, Url("/"), "2", "10"), TImportEnd::Finished);
  // What arrived of an error answer is processed too: its link is queued.
  EXPECT_EQ(Urls(), (std::vector<std::string>{Url("/"), Url("/a.html"), Url("/b.html"),
                                              Url("/exists.html"), Url("/never.html")}));
  EXPECT_EQ(Status(0), "Status: <b>OK Succesfully added new project</b>");
  EXPECT_EQ(Status(1), "Status: <b>OK Succesfully added new project</b>");
  EXPECT_EQ(Status(2), "Status: <b>Not Found Failed to add project</b>");
  EXPECT_EQ(Status(3), "Status: <b>OK Project already exists.</b> <a href=\"update\" value=\"" +
                           Url("/exists.html") + "\">Update it?</a>");
  EXPECT_EQ(Status(4), "Status: <b>Not Found Failed to add project</b>");
  EXPECT_EQ(editor.Projects(), (std::vector<std::string>{"/a.html", "/exists.html", "Index"}));
  EXPECT_EQ(dir.Read("data/domains/127.0.0.1.zro"),
            "[Session]\r\nCount=3\r\n\r\n[List]\r\n/a.html\r\n/exists.html\r\nIndex\r\n\r\n");
  EXPECT_EQ(ProjectValue("Index", "url"), Url("/"));
  EXPECT_EQ(ProjectValue("Index", "title"), "Home");
  EXPECT_EQ(ProjectValue("Index", "description"), "Root page");
  EXPECT_EQ(ProjectValue("Index", "key1"), "k1,k2");
  EXPECT_EQ(ProjectValue("Index", "alt_email"), "alt@example.com");
  EXPECT_EQ(ProjectValue("Index", "city"), "London");
  EXPECT_EQ(ProjectValue("Index", "submitcustom"), "0");
  EXPECT_EQ(ProjectValue("/a.html", "title"), "Page A");
  EXPECT_EQ(ProjectValue("/a.html", "description"), "");
  EXPECT_EQ(ProjectValue("/exists.html", "title"), "Old title");
  EXPECT_FALSE(dir.Exists("data/domains/projects/127.0.0.1/_b.html.zro"));

  const TImportNode& root = monitor.Tree().Node(0);
  EXPECT_EQ(root.lines[kLevelLine], "Level: 1");
  EXPECT_EQ(root.lines[kTitleLine], "Title: Home");
  EXPECT_EQ(root.lines[kDescriptionLine], "Description: Root page");
  EXPECT_EQ(root.lines[kKeywordsLine], "Keywords: k1,k2");
  EXPECT_EQ(monitor.Tree().Node(1).lines[kDescriptionLine], "Description:");
  EXPECT_EQ(monitor.Tree().Node(2).lines[kTitleLine], "Title: gone");
  EXPECT_EQ(monitor.Tree().EntryCount(), 30u);
  EXPECT_EQ(monitor.UrlsFound(), 5u);
  EXPECT_EQ(monitor.UrlsSpidered(), 5u);
  EXPECT_FALSE(monitor.StopEnabled());
  EXPECT_FALSE(monitor.Running());
  const auto& log = monitor.Log().Lines();
  ASSERT_EQ(log.size(), 21u);  // four lines a page, then the finish
  EXPECT_EQ(std::vector<std::string>(log.end() - 5, log.end()),
            (std::vector<std::string>{"Connecting...", "Extracting Urls", "Checking Duplicates",
                                      "Complete", "Import Finished"}));
  EXPECT_EQ(server.Connections(), 5);
}

TEST_F(ImportMonitorTest, JustSpiderOffersAddWhichCreatesTheProjectFromTheLines) {
  server.SetScripts({
      Page("<TITLE>Home</TITLE><META NAME=\"KEYWORDS\" CONTENT=\"x,y\"><a href=\"p.html\">"),
      Page("<title>P</title>", "200 Fine"),
  });
  ASSERT_EQ(Run(TImportMode::JustSpider, Url("/"), "2", "5"), TImportEnd::Finished);
  EXPECT_EQ(Status(0), "Status: <b>OK</b> <a href=\"add\" value=\"" + Url("/") +
                           "\">Add to projects?</a>");
  EXPECT_EQ(Status(1), "Status: <b>Fine</b>");  // only "OK" is success
  EXPECT_TRUE(editor.Projects().empty());

  EXPECT_FALSE(monitor.LinkClicked(0, "remove"));
  EXPECT_TRUE(monitor.LinkClicked(0, "add"));
  EXPECT_EQ(Status(0), "Status: <b>Project Added</b>");
  EXPECT_EQ(editor.Projects(), std::vector<std::string>{"Index"});
  EXPECT_EQ(ProjectValue("Index", "title"), "Home");
  EXPECT_EQ(ProjectValue("Index", "description"), "");  // the page has no description
  EXPECT_EQ(ProjectValue("Index", "key1"), "x,y");
  EXPECT_EQ(ProjectValue("Index", "name"), "Ada");
  EXPECT_EQ(state.newProject.listedName, "Index");
  // Once it is a project, "add" does nothing more.
  EXPECT_FALSE(monitor.LinkClicked(0, "add"));
  EXPECT_EQ(editor.Projects(), std::vector<std::string>{"Index"});
}

TEST_F(ImportMonitorTest, UpdateWritesTheLinesIntoTheExistingProjectOnly) {
  AddProject(Url("/"), "Index", "Old");
  server.SetScripts({
      Page("<title>New</title><meta name=\"description\" content=\"New desc\">"
           "<meta name=\"keywords\" content=\"new,keys\"><a href=\"other.html\">"),
      Page("<title>Other</title>"),
  });
  ASSERT_EQ(Run(TImportMode::UpdateProject, Url("/"), "2", "2"), TImportEnd::Finished);
  EXPECT_EQ(Status(0), "Status: <b>OK <a href=\"update\" value=\"" + Url("/") +
                           "\">Update it?</a>");
  EXPECT_EQ(ProjectValue("Index", "title"), "Old");  // nothing is written before the click

  EXPECT_TRUE(monitor.LinkClicked(0, "update"));
  EXPECT_EQ(Status(0), "Status: <b>Project Updated</b>");
  EXPECT_EQ(ProjectValue("Index", "title"), "New");
  EXPECT_EQ(ProjectValue("Index", "description"), "New desc");
  EXPECT_EQ(ProjectValue("Index", "key1"), "new,keys");
  EXPECT_EQ(editor.Text("title"), "New");
  EXPECT_EQ(editor.CurrentProjectKey(), "Index");

  // A page that is no project: no file appears for it.
  EXPECT_FALSE(monitor.LinkClicked(1, "update"));
  EXPECT_FALSE(dir.Exists("data/domains/projects/127.0.0.1/_other.html.zro"));
  EXPECT_EQ(editor.Projects(), std::vector<std::string>{"Index"});
}

TEST_F(ImportMonitorTest, StopAbortsTheFetchProcessesWhatArrivedAndEnds) {
  server.SetScripts({{Write("HTTP/1.0 200 OK\r\n\r\n<title>Half</title><a href=\"a.html\">"),
                      Hang()}});
  std::vector<bool> stopStates;
  monitor.OnStopEnabledChange = [&](bool enabled) { stopStates.push_back(enabled); };
  // The page has begun to arrive: stop, from the event loop.
  monitor.HttpCli1().OnDocData = [&](THttpCli&, const char*, int) {
    QTimer::singleShot(0, [&] { monitor.Stop(); });
  };
  ASSERT_EQ(Run(TImportMode::JustSpider, Url("/"), "2", "10"), TImportEnd::Stopped);
  EXPECT_EQ(stopStates, (std::vector<bool>{true, false}));
  EXPECT_EQ(Urls(), (std::vector<std::string>{Url("/"), Url("/a.html")}));
  EXPECT_EQ(Status(0), "Status: <b>Connection aborted on request</b>");
  EXPECT_EQ(monitor.Tree().Node(0).lines[kTitleLine], "Title: Half");
  EXPECT_TRUE(monitor.Waiting(1));
  EXPECT_EQ(monitor.Log().Lines().back(), "Import Stopped");
  EXPECT_EQ(*(monitor.Log().Lines().end() - 2), "Complete");
  EXPECT_EQ(server.Connections(), 1);
}

TEST_F(ImportMonitorTest, ARequestThatCannotStartEndsTheImportOnItsStatusLine) {
  server.SetScripts({{Hang()}});
  THttpCli& client = monitor.HttpCli1();
  client.SetURL(Url("/busy"));
  client.Get();  // the client is busy when the import starts
  ASSERT_EQ(Run(TImportMode::JustSpider, Url("/"), "2", "10"), TImportEnd::Failed);
  EXPECT_EQ(Status(0), "Status: <b>Error HTTP component is busy</b>");
  EXPECT_FALSE(monitor.StopEnabled());
  EXPECT_EQ(monitor.Log().Lines().back(), "Connecting...");
  client.Abort();
}

TEST_F(ImportMonitorTest, LevelsOrMaximumThatAreNoNumberEndTheImportWithAConversionError) {
  for (auto [levels, maxPages] : {std::pair{"", "10"}, std::pair{"2", ""}}) {
    server.SetScripts({Page("<title>Home</title><a href=\"a.html\">")});
    const size_t calls = answers.Calls().size();
    ASSERT_EQ(Run(TImportMode::JustSpider, Url("/"), levels, maxPages), TImportEnd::Failed);
    ASSERT_EQ(answers.Calls().size(), calls + 1);
    EXPECT_EQ(answers.Calls().back().text, "'' is not a valid integer value");
    EXPECT_EQ(answers.Calls().back().type, TMsgDlgType::Error);
    EXPECT_EQ(Urls(), std::vector<std::string>{Url("/")});
    EXPECT_EQ(monitor.Log().Lines().back(), "Checking Duplicates");
    EXPECT_FALSE(monitor.StopEnabled());
  }
}

TEST_F(ImportMonitorTest, APageBeyondTheBufferBoundEndsItsRequestAndKeepsWhatFits) {
  monitor.SetPageLimit(200);
  server.SetScripts({Page("<a href=\"early.html\">" + std::string(300, 'x') +
                          "<a href=\"late.html\">"),
                     Page("early")});
  ASSERT_EQ(Run(TImportMode::JustSpider, Url("/"), "2", "10"), TImportEnd::Finished);
  EXPECT_EQ(Urls(), (std::vector<std::string>{Url("/"), Url("/early.html")}));
  EXPECT_EQ(Status(0), "Status: <b>Receive stream limit reached</b>");
}

TEST_F(ImportMonitorTest, StartingAgainDuringAFetchAbandonsTheFirstImport) {
  server.SetScripts({{Hang()}, Page("<title>Second</title>")});
  bool restarted = false;
  monitor.Tree().OnLineChange = [&](size_t, TImportLine line) {
    if (!restarted && line == kImportStatusLine) {
      restarted = true;
      QTimer::singleShot(200, [&] {
        monitor.SetStartUrl(Url("/second.html"));
        monitor.EnableStop();
        monitor.Start();
      });
    }
  };
  ASSERT_EQ(Run(TImportMode::JustSpider, Url("/first.html"), "2", "10"), TImportEnd::Finished);
  EXPECT_EQ(Urls(), std::vector<std::string>{Url("/second.html")});
  EXPECT_EQ(monitor.Tree().Node(0).lines[kTitleLine], "Title: Second");
  EXPECT_EQ(server.Connections(), 2);
}

TEST_F(ImportMonitorTest, PagesGoToTheListOfTheirOwnDomainWhateverIsSelected) {
  TNewProjectRecord other;
  other.domain = "other.test";
  editor.CreateDomain(other);  // selects other.test
  other.url = "http://other.test/only-here.html";
  other.listedName = "/only-here.html";
  editor.CreateProject(other);
  const std::string otherList = dir.Read("data/domains/other.test.zro");
  // A name that cannot be a file name: that page is not added, the import goes on.
  server.SetScripts({Page(R"(<title>Home</title><a href="bad\name.html"><a href="ok.html">)"),
                     Page("bad"), Page("<title>Ok</title>")});
  ASSERT_EQ(Run(TImportMode::AddSpidered, Url("/"), "2", "10"), TImportEnd::Finished);
  EXPECT_EQ(state.currentDomain, "127.0.0.1");
  EXPECT_EQ(TDomainStore(dir.AppFolder()).ReadProjectList("127.0.0.1"),
            (std::vector<std::string>{"/ok.html", "Index"}));
  EXPECT_EQ(dir.Read("data/domains/other.test.zro"), otherList);
  ASSERT_EQ(Urls().size(), 3u);
  EXPECT_EQ(Status(0), "Status: <b>OK Succesfully added new project</b>");
  EXPECT_EQ(Urls()[1], Url(R"(/bad\name.html)"));
  EXPECT_EQ(Status(1), "Status: <b>OK Failed to add project</b>");
  const auto& log = monitor.Log().Lines();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
    return line.find(R"("_bad\name.html" cannot be used as a file name)") != std::string::npos;
  }));
  EXPECT_EQ(Status(2), "Status: <b>OK Succesfully added new project</b>");
}

}  // namespace
}  // namespace qs

// The import command, run in-process against scripted pages.
#include "cli/importcommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/commandline.h"
#include "net/tlstrust.h"
#include "projects/domainstore.h"
#include "projects/naming.h"
#include "spider/sitegen.h"
#include "support/peers.h"
#include "support/scriptserver.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

using test::Close;
using test::Script;
using test::ScriptServer;
using test::Write;

Script Page(const std::string& body, const std::string& status = "200 OK") {
  return {Write("HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\n\r\n" + body), Close()};
}

struct Result {
  int exit;
  std::string out, err;
};

class ImportCommandTest : public testing::Test {
 protected:
  ImportCommandTest() {
    const Result r = Command({"new-domain", "--url", server.Base() + "/", "--category", "Arts",
                              "--first", "Ada", "--last", "King", "--email", "ada@x.test",
                              "--alt-email", "alt@x.test", "--city", "Paris"});
    EXPECT_EQ(r.exit, kExitOk) << r.err;
  }
  Result Command(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", dir.Root()});
    std::istringstream in;
    std::ostringstream out, err;
    const int exit = RunCommandLine(args, dir.Root(), dir.Root(), {in, out, err});
    return {exit, out.str(), err.str()};
  }
  std::string Value(const std::string& listed, const std::string& key) const {
    const std::string k = ProjectKeyOf(listed);
    return TDomainStore(dir.AppFolder()).ReadProjectValue("127.0.0.1", k, k, key, "<none>");
  }
  std::vector<std::string> Projects() const {
    return TDomainStore(dir.AppFolder()).ReadProjectList("127.0.0.1");
  }

  test::TempFolder dir;
  ScriptServer server;
};

TEST_F(ImportCommandTest, AddSpideredPrintsEachStatusAndTheLogAndCreatesTheProjects) {
  server.SetScripts({Page("<title>Home</title><a href=\"a.html\"><a href=\"b.html\">"),
                     Page("<title>A</title><meta name=\"description\" content=\"About A\">"),
                     Page("", "404 Not Found")});
  const std::string b = server.Base();
  const Result r = Command({"import", "--mode", "addspidered", "--levels", "2", "--max", "10", b + "/"});
  ASSERT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_EQ(r.out,
            "Connecting...\n" + b + "/  Status: OK Project already exists. Update it?\n"
            "Extracting Urls\nChecking Duplicates\nComplete\n"
            "Connecting...\n" + b + "/a.html  Status: OK Succesfully added new project\n"
            "Extracting Urls\nChecking Duplicates\nComplete\n"
            "Connecting...\n" + b + "/b.html  Status: Not Found Failed to add project\n"
            "Extracting Urls\nChecking Duplicates\nComplete\n"
            "Import Finished\nUrl's Found: 3\nUrl's Spidered: 3\n");
  EXPECT_EQ(Projects(), (std::vector<std::string>{"/a.html", "Index"}));
  EXPECT_EQ(Value("/a.html", "title"), "A");
  EXPECT_EQ(Value("/a.html", "description"), "About A");
  EXPECT_EQ(Value("/a.html", "name"), "Ada");  // the domain's first project's contact data
  EXPECT_EQ(Value("/a.html", "city"), "Paris");
  EXPECT_EQ(Value("Index", "title"), "");  // an existing project is left alone
}

TEST_F(ImportCommandTest, JustSpiderWithAddAllAddsEveryOfferedPage) {
  ASSERT_EQ(Command({"set", "127.0.0.1", "Index", "last=Other"}).exit, kExitOk);
  server.SetScripts({Page("<title>Home</title><a href=\"a.html\"><a href=\"gone.html\">"),
                     Page("<title>A</title>"), Page("", "404 Not Found")});
  const std::string b = server.Base();
  const Result r = Command({"import", "--mode", "justspider", "--max", "5", "--contact",
                            "127.0.0.1/Index", "--add-all", b + "/"});
  ASSERT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_NE(r.out.find(b + "/a.html  Status: OK Add to projects?\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(b + "/a.html  Status: Project Added\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find(b + "/gone.html  Status: Project Added"), std::string::npos) << r.out;
  EXPECT_EQ(Projects(), (std::vector<std::string>{"/a.html", "Index"}));
  EXPECT_EQ(Value("/a.html", "title"), "A");
  EXPECT_EQ(Value("/a.html", "last"), "Other");
}

TEST_F(ImportCommandTest, RefusesWhatItCannotImport) {
  const std::string b = server.Base();
  struct Case {
    std::vector<std::string> args;
    int exit;
    const char* message;
  } cases[] = {
      {{"import", b + "/"}, kExitUsage, "--mode must be"},
      {{"import", "--mode", "everything", b + "/"}, kExitUsage, "--mode must be"},
      {{"import", "--mode", "justspider"}, kExitUsage, "a URL to import is needed"},
      {{"import", "--mode", "addspidered", "--add-all", b + "/"}, kExitUsage, "--add-all"},
      {{"import", "--mode", "justspider", "--contact", "Index", b + "/"}, kExitUsage, "DOMAIN/PROJECT"},
      {{"import", "--mode", "justspider", "--contact", "127.0.0.1/none.html", b + "/"},
       kExitFailure, "There is no project \"none.html\""},
      {{"import", "--mode", "justspider", "http://other.test/"}, kExitFailure,
       "There is no domain \"other.test\""},
      {{"import", "--mode", "justspider", "--levels", "", b + "/"}, kExitFailure,
       "'' is not a valid integer value"},
  };
  server.SetScripts({Page("<a href=\"a.html\">")});
  for (const auto& c : cases) {
    const Result r = Command(c.args);
    EXPECT_EQ(r.exit, c.exit) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_EQ(Projects(), std::vector<std::string>{"Index"});
}

// Pages whose project files could not be written, or would be another page's, are logged
// and skipped; the other pages become projects, and the domain stays usable.
TEST_F(ImportCommandTest, PagesThatCannotBeProjectsAreLoggedAndTheImportGoesOn) {
  // Short enough for the name rule (240), too long once the folder's path comes before it.
  const std::string longPage = "/" + std::string(230, 'y') + ".htm";
  server.SetScripts({Page("<a href=\"" + longPage + "\"><a href=\"/a/b.html\">"
                          "<a href=\"/a_b.html\"><a href=\"/c.html\">"),
                     Page("<title>Long</title>"), Page("<title>AB</title>"),
                     Page("<title>A_B</title>"), Page("<title>C</title>")});
  const Result r =
      Command({"import", "--mode", "addspidered", "--max", "10", server.Base() + "/"});
  ASSERT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_NE(r.out.find("would be longer than 255 characters"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("would use the same project file as another project"), std::string::npos)
      << r.out;
  EXPECT_EQ(Projects(), (std::vector<std::string>{"/a/b.html", "/c.html", "Index"}));
  EXPECT_EQ(Value("/a/b.html", "title"), "AB");
  EXPECT_EQ(Value("/c.html", "title"), "C");
  const Result list = Command({"projects", "127.0.0.1"});
  EXPECT_EQ(list.out, "/a/b.html\n/c.html\nIndex\n");
  EXPECT_EQ(list.err, "");
  EXPECT_EQ(Command({"delete-domain", "127.0.0.1"}).exit, kExitOk);
}

TEST(ImportCommandSiteTest, AddSpideredMakesProjectsOfEveryGoodPageOfAGeneratedSite) {
  test::NginxPeer nginx;
  QS_REQUIRE_PEER(nginx);
  const test::GeneratedSite site(nginx.Base(), nginx.Port());
  for (const test::SitePage& page : site.Pages()) nginx.Folder().Write("www/" + page.file, page.html);
  test::TempFolder dir;
  auto command = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", dir.Root()});
    std::istringstream in;
    std::ostringstream out, err;
    const int exit = RunCommandLine(args, dir.Root(), dir.Root(), {in, out, err});
    return Result{exit, out.str(), err.str()};
  };
  const test::SitePage& first = site.Pages()[1];
  Result r = command({"new-domain", "--url", site.Url(first.path), "--category", "Arts", "--first",
                      "Ada", "--last", "King", "--email", "a@x.test", "--alt-email", "b@x.test"});
  ASSERT_EQ(r.exit, kExitOk) << r.err;
  r = command({"import", "--mode", "addspidered", "--levels", "10", "--max", "25", site.Url("/")});
  ASSERT_EQ(r.exit, kExitOk) << r.err;
  std::vector<std::string> expected{ListedNameOf(site.Url(first.path))};
  for (const std::string& url : site.Expected("/", 10, 25)) {
    const std::string path = url.substr(nginx.Base().size());
    if (site.Find(path) && path != first.path) expected.push_back(ListedNameOf(url));
    EXPECT_NE(r.out.find(url + "  Status: "), std::string::npos) << url;
  }
  SortNames(expected);
  EXPECT_EQ(TDomainStore(dir.AppFolder()).ReadProjectList("127.0.0.1"), expected);
  EXPECT_NE(r.out.find("Import Finished\n"), std::string::npos);
}

// An https site is crawled over TLS, trusted through [Security] cafile, and its links keep
// the https scheme: relative ones and "//host" ones alike.
TEST(ImportCommandHttps, AnHttpsSiteIsCrawledAndItsLinksStayHttps) {
  test::TestCa ca;
  QS_REQUIRE_PEER(ca);
  ScriptServer server({}, ca.Localhost());
  const std::string b = server.TlsBase();
  server.SetScripts({Page("<title>Home</title><a href=\"a.html\"><a href=\"//localhost:" +
                          std::to_string(server.Port()) + "/b.html\">"),
                     Page("<title>A</title>"), Page("<title>B</title>")});
  test::TempFolder dir;
  dir.Write("dfd.ini", "[Security]\r\ncafile=" + ca.CaFile() + "\r\n");
  auto command = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", dir.Root()});
    std::istringstream in;
    std::ostringstream out, err;
    const int exit = RunCommandLine(args, dir.Root(), dir.Root(), {in, out, err});
    return Result{exit, out.str(), err.str()};
  };
  Result r = command({"new-domain", "--url", b + "/", "--category", "Arts", "--first", "Ada",
                      "--last", "King", "--email", "ada@x.test", "--alt-email", "alt@x.test"});
  ASSERT_EQ(r.exit, kExitOk) << r.err;
  r = command({"import", "--mode", "addspidered", "--levels", "2", "--max", "10", b + "/"});
  ASSERT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_NE(r.out.find(b + "/a.html  Status: OK Succesfully added new project\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find(b + "/b.html  Status: OK Succesfully added new project\n"), std::string::npos)
      << r.out;
  const TAppFolder folder = dir.AppFolder();
  const TDomainStore store(folder);
  EXPECT_EQ(store.ReadProjectValue("localhost", "_a.html", "_a.html", "url", ""), b + "/a.html");
  EXPECT_EQ(store.ReadProjectValue("localhost", "_b.html", "_b.html", "url", ""), b + "/b.html");
  ASSERT_EQ(server.Requests().size(), 3u);
  EXPECT_EQ(server.Requests()[1].substr(0, 20), "GET /a.html HTTP/1.0");
  SetExtraCaFile("");
}

}  // namespace
}  // namespace qs

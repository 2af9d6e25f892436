// The domain and project commands on a fresh application folder.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <sstream>

#include "app/clock.h"
#include "cli/commandline.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

class ProjectCommandsTest : public ::testing::Test {
 protected:
  struct Result {
    int code;
    std::string out, err;
  };
  Result Invoke(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", dir.Root()});
    std::istringstream in;
    std::ostringstream out, err;
    int code = RunCommandLine(args, "/nonexistent", "", {in, out, err});
    return {code, out.str(), err.str()};
  }
  static std::vector<std::string> Contact() {
    return {"--category", "Arts", "--first", "Ada", "--last", "King", "--email", "a@x.org",
            "--alt-email", "b@x.org", "--city", "London"};
  }
  Result NewDomain(const std::string& url) {
    std::vector<std::string> args = {"new-domain", "--url", url};
    for (auto& a : Contact()) args.push_back(a);
    return Invoke(args);
  }

  clock::Fixed now{QDateTime(QDate(2026, 12, 10), QTime(8, 0, 0))};
  test::TempFolder dir;
};

TEST_F(ProjectCommandsTest, CreateShowSetAndDelete) {
  Result r = NewDomain("http://www.art.example/");
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.out, "Added art.example with Index\n");
  r = Invoke({"new-project", "art.example", "--url", "http://art.example/gallery.htm", "--first", "Bo"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(Invoke({"projects", "art.example"}).out, "/gallery.htm\nIndex\n");

  r = Invoke({"show", "art.example", "/gallery.htm"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  for (const char* line : {"url=http://art.example/gallery.htm\n", "name=Bo\n", "last=King\n",
                           "city=London\n", "catagory=Arts\n", "submitengines=-1\n",
                           "scheduled=0\n", "submitcustom=0\n", "startdate=12/10/2026\n",
                           "besttime=8:00:00 AM\n", "daysbetween=30\n"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;

  r = Invoke({"set", "art.example", "Index", "title=Art", "submitffa=0", "submitcustom=2",
              "startdate=1/15/2027", "daysbetween=14"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  r = Invoke({"show", "art.example", "Index"});
  for (const char* line : {"title=Art\n", "submitffa=0\n", "submitcustom=2\n", "startdate=1/15/2027\n",
                           "daysbetween=14\n"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;

  EXPECT_EQ(Invoke({"set", "art.example", "Index", "lastsub=x"}).code, kExitFailure);
  EXPECT_EQ(Invoke({"set", "art.example", "Index", "startdate=soon"}).code, kExitFailure);
  EXPECT_EQ(Invoke({"set", "art.example", "Index", "novalue"}).code, kExitUsage);

  EXPECT_EQ(Invoke({"delete-project", "art.example", "Index"}).code, kExitOk);
  EXPECT_EQ(Invoke({"projects", "art.example"}).out, "/gallery.htm\n");
  EXPECT_EQ(Invoke({"delete-project", "art.example", "Index"}).code, kExitFailure);
  EXPECT_EQ(Invoke({"delete-domain", "art.example"}).code, kExitOk);
  EXPECT_EQ(Invoke({"domains"}).out, "");
  EXPECT_TRUE(dir.Exists("data/domains/projects/art.example"));
}

TEST_F(ProjectCommandsTest, BadInputFailsWithTheWizardsMessages) {
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  } cases[] = {
      {{"new-domain", "--url", "http://a.example/"}, kExitFailure, "You forgot to enter a Category."},
      {{"new-domain", "--category", "Arts"}, kExitFailure, "You forgot to enter a URL."},
      {{"new-domain", "--url"}, kExitUsage, "option --url needs a value"},
      {{"new-domain", "--colour", "red"}, kExitUsage, "unknown option --colour"},
      {{"new-project", "none.example", "--url", "http://none.example/"}, kExitFailure,
       "There is no domain \"none.example\"."},
      {{"show", "x"}, kExitUsage, "show needs a DOMAIN and a PROJECT"},
  };
  for (const auto& c : cases) {
    Result r = Invoke(c.args);
    EXPECT_EQ(r.code, c.code) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  ASSERT_EQ(NewDomain("http://a.example/").code, kExitOk);
  Result r = NewDomain("http://www.a.example/x");
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_NE(r.err.find("This domain is already in your domains list"), std::string::npos);
  r = Invoke({"new-project", "a.example", "--url", "http://b.example/other.htm"});
  EXPECT_NE(r.err.find("You can not add a different domain"), std::string::npos);
  r = NewDomain("http://../");
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_NE(r.err.find("cannot be used as a file name"), std::string::npos);
  EXPECT_EQ(Invoke({"domains"}).out, "a.example\n");
}

// A name the folder's own files use, and a name whose file another project already has, are
// refused before anything is written. (Names too long for the folder: the import's test.)
TEST_F(ProjectCommandsTest, NamesThatWouldCollideOrNotFitAreRefusedBeforeAnythingIsWritten) {
  ASSERT_EQ(NewDomain("http://art.example/").code, kExitOk);
  ASSERT_EQ(Invoke({"new-project", "art.example", "--url", "http://art.example/a/b"}).code, kExitOk);
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"new-domain", "--url", "http://domains/"}, "the domain list itself is stored under that name"},
      {{"new-domain", "--url", "http://DOMAINS/"}, "the domain list itself is stored under that name"},
      {{"new-project", "art.example", "--url", "http://art.example/a_b"},
       "would use the same project file as another project"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    if (args[0] == "new-domain")
      for (auto& a : Contact()) args.push_back(a);
    const Result r = Invoke(args);
    EXPECT_EQ(r.code, kExitFailure) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_EQ(Invoke({"domains"}).out, "art.example\n");
  EXPECT_EQ(Invoke({"projects", "art.example"}).out, "/a/b\nIndex\n");
  EXPECT_FALSE(dir.Exists("data/domains/projects/domains"));
  EXPECT_NE(dir.Read("data/domains/projects/art.example/_a_b.zro").find("url=http://art.example/a/b"),
            std::string::npos);
  size_t files = 0;
  for ([[maybe_unused]] auto& f :
       std::filesystem::directory_iterator(dir.Path("data/domains/projects/art.example")))
    ++files;
  EXPECT_EQ(files, 2u);
}

// A list line written before the checks above (or under a shorter folder path) is left out
// with one message; the rest of the domain, and every other domain, works as before.
TEST_F(ProjectCommandsTest, AListLineThatCannotBeAFileIsSkippedAndTheDomainStaysUsable) {
  ASSERT_EQ(NewDomain("http://art.example/").code, kExitOk);
  ASSERT_EQ(NewDomain("http://zoo.example/").code, kExitOk);
  const std::string longPage = "/" + std::string(230, 'y') + ".htm";
  dir.Write("data/domains/art.example.zro",
            "[Session]\r\nCount=2\r\n[List]\r\n" + longPage + "\r\nIndex\r\n");
  dir.Write("data/domains/domains.zro",
            "[Domains]\r\nCount=3\r\n[List]\r\nart.example\r\ndomains\r\nzoo.example\r\n");

  Result r = Invoke({"projects", "art.example"});
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_EQ(r.out, "Index\n");
  EXPECT_NE(r.err.find("cannot be used here and are left out"), std::string::npos) << r.err;
  r = Invoke({"domains"});
  EXPECT_EQ(r.out, "art.example\nzoo.example\n");
  EXPECT_NE(r.err.find("\"domains\": the domain list itself"), std::string::npos) << r.err;

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"show", "art.example", "Index"},
        {"set", "art.example", "Index", "title=Still here"},
        {"new-project", "art.example", "--url", "http://art.example/new.htm"},
        {"show", "zoo.example", "Index"},
        {"delete-project", "art.example", "/new.htm"}}) {
    r = Invoke(args);
    EXPECT_EQ(r.code, kExitOk) << args[0] << ": " << r.err;
  }
  // The skipped line stays in the list for a folder where it fits.
  EXPECT_NE(dir.Read("data/domains/art.example.zro").find(longPage), std::string::npos);
  EXPECT_EQ(Invoke({"delete-domain", "art.example"}).code, kExitOk);
  EXPECT_EQ(Invoke({"domains"}).out, "zoo.example\n");
}

// Twenty processes adding a project to one domain at once: each one's change survives.
TEST_F(ProjectCommandsTest, ConcurrentNewProjectsAllReachTheList) {
  ASSERT_EQ(NewDomain("http://art.example/").code, kExitOk);
  constexpr int kProcesses = 20;
  std::vector<std::unique_ptr<QProcess>> processes;
  for (int i = 0; i < kProcesses; ++i) {
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral(QS_CLI_EXECUTABLE),
             {QStringLiteral("--home"), QString::fromStdString(dir.Root()),
              QStringLiteral("new-project"), QStringLiteral("art.example"), QStringLiteral("--url"),
              QStringLiteral("http://art.example/p%1.htm").arg(i, 2, 10, QLatin1Char('0'))});
    processes.push_back(std::move(p));
  }
  for (auto& p : processes) {
    ASSERT_TRUE(p->waitForFinished(120000));
    EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
  }
  std::string expected;
  for (int i = 0; i < kProcesses; ++i)
    expected += QStringLiteral("/p%1.htm\n").arg(i, 2, 10, QLatin1Char('0')).toStdString();
  expected += "Index\n";
  EXPECT_EQ(Invoke({"projects", "art.example"}).out, expected);
  EXPECT_NE(dir.Read("data/domains/art.example.zro").find("Count=21"), std::string::npos);
}

}  // namespace
}  // namespace qs

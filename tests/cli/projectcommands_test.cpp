// The domain and project commands on a fresh application folder.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qs

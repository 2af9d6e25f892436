// The command-line front end: options, the listing commands, errors and exit codes.
#include "cli/commandline.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>
#include <sstream>

#include "cli/terminalanswerer.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

struct Result {
  int code;
  std::string out, err;
};

Result Invoke(std::vector<std::string> args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  int code = RunCommandLine(args, "/nonexistent-exe-folder", "", {in, out, err});
  return {code, out.str(), err.str()};
}

class CommandLineTest : public ::testing::Test {
 protected:
  CommandLineTest() {
    dir.Write("data/domains/domains.zro", "[Domains]\r\nCount=2\r\n[List]\r\nb.com\r\na.com\r\n");
    dir.Write("data/domains/a.com.zro", "[List]\r\n/z.htm\r\nIndex\r\n");
    dir.Write("data/datam.czc", "Hand,http://hand.example/,http://hand.example/add\r\n");
    dir.Write("data/data.czc",
              "1,Alpha,ENGINE,english,,,1,Monthly,All,,http://a.example/,http://a.example/add\r\n"
              "2,Beta,FFA,english,,,1,Weekly,All,,http://b.example/,http://b.example/ffa\r\n"
              "3,Ring,NETWORKS,english,,,12,Monthly,All,,http://r.example/,http://r.example/join\r\n");
    dir.Write("data/datac.czc", "");
  }
  test::TempFolder dir;
};

TEST_F(CommandLineTest, ListsDomainsAndProjects) {
  Result r = Invoke({"--home", dir.Root(), "domains"});
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_EQ(r.out, "a.com\nb.com\n");
  r = Invoke({"--home=" + dir.Root(), "projects", "a.com"});
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_EQ(r.out, "/z.htm\nIndex\n");
  r = Invoke({"--home", dir.Root(), "projects", "none.com"});
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_EQ(r.out, "");
}

TEST_F(CommandLineTest, UsageErrorsExitTwoWithUsageOnStderr) {
  const std::vector<std::vector<std::string>> bad = {
      {"frobnicate"}, {"--bogus"}, {"--home"}, {"--home="}, {"--home", dir.Root(), "projects"},
      {"--home", dir.Root(), "domains", "extra"},
  };
  for (const auto& args : bad) {
    Result r = Invoke(args);
    EXPECT_EQ(r.code, kExitUsage) << args[0];
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Usage: quorvex-summit"), std::string::npos);
  }
}

TEST_F(CommandLineTest, FailuresExitOneWithTheReason) {
  Result r = Invoke({"--home", dir.Root(), "projects", "../../etc"});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_NE(r.err.find("cannot be used as a file name"), std::string::npos) << r.err;
}

TEST_F(CommandLineTest, HelpVersionAndStartUp) {
  Result r = Invoke({"--help"});
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_NE(r.out.find("projects DOMAIN"), std::string::npos);
  EXPECT_EQ(Invoke({"--version"}).out, "quorvex-summit v5.5\n");
  r = Invoke({"--home", dir.Root()});
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_NE(r.out.find("Loading... Domains\n"), std::string::npos);
  EXPECT_NE(r.out.find("Domains: 2\nProjects of a.com: 2\nManual engines: 1\n"
                      "Main database: 13 total, 1 engines, 1 FFA, 1 networks of 12 sites\n"
                      "Custom database: 0 total"),
            std::string::npos)
      << r.out;
}

TEST_F(CommandLineTest, EnginesPrintsCountersAndRecordsOfAView) {
  Result r = Invoke({"--home", dir.Root(), "engines"});
  EXPECT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.out, "Total: 13\nEngines: 1\nFFA: 1\nNetworks: 1\nNetwork sites: 12\n");
  r = Invoke({"--home", dir.Root(), "engines", "--type", "FFA", "--list"});
  EXPECT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.out, "Total: 1\nEngines: 0\nFFA: 1\nNetworks: 0\nNetwork sites: 0\n"
                   "Beta\tFFA\tWeekly\thttp://b.example/ffa\n");
  r = Invoke({"--home", dir.Root(), "engines", "--custom"});
  EXPECT_EQ(r.out, "Total: 0\nEngines: 0\nFFA: 0\nNetworks: 0\nNetwork sites: 0\n");
  EXPECT_EQ(Invoke({"--home", dir.Root(), "engines", "--type", "Other"}).code, kExitUsage);
  dir.Write("data/datac.czc", "");
  std::filesystem::remove(dir.Path("data/datac.czc"));
  r = Invoke({"--home", dir.Root(), "engines"});
  EXPECT_EQ(r.code, kExitFailure);
  EXPECT_NE(r.err.find("Cannot open file " + dir.Root() + "/data/datac.czc"), std::string::npos)
      << r.err;
}

TEST_F(CommandLineTest, TheExecutableUsesHomeFromTheEnvironment) {
  QProcess p;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("QUORVEX_HOME", QString::fromStdString(dir.Root()));
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(QS_CLI_EXECUTABLE), {QStringLiteral("domains")});
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  EXPECT_EQ(p.readAllStandardOutput().toStdString(), "a.com\nb.com\n");
}

TEST(TerminalAnswerer, AsksOnTheTerminalAndTreatsEndOfInputAsClosed) {
  std::istringstream in("maybe\nn\n");
  std::ostringstream err;
  TTerminalAnswerer t(in, err, "Quorvex Summit v5.5");
  EXPECT_EQ(t.Show("Delete <b>all</b>?<br>Sure", TMsgDlgType::Confirmation, 0, mbYes | mbNo), mrNo);
  EXPECT_NE(err.str().find("Confirmation: Delete all?\nSure\n[Yes/No] "), std::string::npos)
      << err.str();
  EXPECT_EQ(t.Show("Again?", TMsgDlgType::Confirmation, 0, mbYes | mbNo), mrClosed);
  EXPECT_EQ(t.Show("Done", TMsgDlgType::Error, 0, mbOK), mrOk);
}

}  // namespace
}  // namespace qs

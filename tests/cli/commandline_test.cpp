// The command-line front end: options, the listing commands, errors and exit codes.
#include "cli/commandline.h"

#include <gtest/gtest.h>

#include <QProcess>
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
  EXPECT_NE(r.out.find("Domains: 2\nProjects of a.com: 2\n"), std::string::npos) << r.out;
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

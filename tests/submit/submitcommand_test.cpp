// The submit command on a ready application folder, against the practice server.
#include "cli/submitcommand.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "cli/commandline.h"
#include "platform/regional.h"
#include "practiceserver.h"
#include "submitfixture.h"

namespace qs {
namespace {

class SubmitCommand : public test::SubmitFixture {
 protected:
  int Run(const std::vector<std::string>& args) {
    std::vector<std::string> all{"--home", dir.Root(), "submit"};
    all.insert(all.end(), args.begin(), args.end());
    out.str("");
    err.str("");
    return RunCommandLine(all, dir.Root(), dir.Root(), {in, out, err});
  }
  void SetUp() override {
    ASSERT_TRUE(server.Listen());
    // The installation data, then this test's own settings, tables and projects.
    std::filesystem::copy(QS_SOURCE_DIR "/data", dir.Root(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    WriteSettings("1", 5, 30);
    dir.Write("data/domains/domains.zro", "[List]\r\ndom.example\r\n");
    dir.Write("data/domains/dom.example.zro", "[List]\r\nIndex\r\n/b.htm\r\n");
    const test::TValues project{{"url", "http://dom.example/"}, {"submitengines", "-1"},
                                {"submitcustom", "0"}, {"genreport", "0"}};
    WriteProject("dom.example", "Index", project);
    WriteProject("dom.example", "_b.htm", project);
    WriteTables({{{"e_name", "One"}, {"enginetype", "ENGINE"}, {"e_url", "http://one/"},
                  {"cgi_url", server.Base() + "/ok/1"}, {"method", "GET"}, {"url", "u"}},
                 {{"e_name", "Two"}, {"enginetype", "ENGINE"}, {"e_url", "http://two/"},
                  {"cgi_url", server.Base() + "/missing/2"}, {"method", "POST"}, {"url", "u"}}});
  }
  practice::TPracticeServer server;
  std::istringstream in;
  std::ostringstream out, err;
};

TEST_F(SubmitCommand, RunsTheNamedProjectsToTheirEnd) {
  ASSERT_EQ(Run({"dom.example", "/b.htm"}), kExitOk) << err.str();
  EXPECT_NE(out.str().find("One\thttp://one/\tOK\tENGINE\tOK\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Two\thttp://two/\tNot Found\tENGINE\tFailed\n"), std::string::npos);
  EXPECT_NE(out.str().find("dom.example [/b.htm]\n  Status: Submission Complete...\n"), std::string::npos);
  EXPECT_NE(out.str().find("  Failed: 1\n"), std::string::npos);
  EXPECT_EQ(server.Received().size(), 2u);
  EXPECT_TRUE(dir.Exists("data/domains/projects/dom.example/_b.htm.hst"));
  EXPECT_FALSE(dir.Exists("data/domains/projects/dom.example/Index.hst"));
  // Submitted today: refused, nothing queued.
  EXPECT_EQ(Run({"dom.example", "/b.htm"}), kExitFailure);
  EXPECT_NE(err.str().find("already been submitted today"), std::string::npos);
}

// A history that cannot be written (a folder stands where the file goes) fails the command,
// and the output names what was not written instead of a history file that is not there.
TEST_F(SubmitCommand, AnEndThatCannotBeWrittenFailsTheCommandAndSaysWhat) {
  ASSERT_TRUE(std::filesystem::create_directories(
      dir.Path("data/domains/projects/dom.example/_b.htm.hst")));
  EXPECT_EQ(Run({"dom.example", "/b.htm"}), kExitFailure);
  EXPECT_NE(out.str().find("History: not written\nNot written: Cannot read " +
                           dir.Path("data/domains/projects/dom.example/_b.htm.hst")),
            std::string::npos)
      << out.str();
  EXPECT_EQ(out.str().find("History: " + dir.Path("")), std::string::npos) << out.str();
  // The dates did move: the project is not sent twice today.
  EXPECT_NE(dir.Read("data/domains/projects/dom.example/_b.htm.zro")
                .find("lastsub=" + regional::FormatDate(clock::Today())),
            std::string::npos);
}

TEST_F(SubmitCommand, ASignalStopsTheRunAsStopDoesAndItsHistoryIsWritten) {
  WriteTables({{{"e_name", "Silent"}, {"enginetype", "ENGINE"}, {"e_url", "http://silent/"},
                {"cgi_url", server.Base() + "/silent/1"}, {"method", "GET"}, {"url", "u"}}});
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    std::remove(dir.Path("data/domains/projects/dom.example/_b.htm.hst").c_str());
    WriteProject("dom.example", "_b.htm", {{"url", "http://dom.example/b.htm"}, {"submitengines", "-1"},
                                           {"submitcustom", "0"}, {"genreport", "0"}});
    server.ClearReceived();
    // Once the engine has the request (and will never answer), the signal comes.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (!server.Received().empty()) {
        watch.stop();
        std::raise(signal);
      }
    });
    watch.start(10);
    ASSERT_EQ(Run({"dom.example", "/b.htm"}), kExitOk) << err.str();
    EXPECT_NE(err.str().find("submit: stopped"), std::string::npos) << err.str();
    EXPECT_NE(out.str().find("Status: Submission Stopped"), std::string::npos) << out.str();
    const std::string history = dir.Read("data/domains/projects/dom.example/_b.htm.hst");
    EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 2) << history;
    const std::string project = dir.Read("data/domains/projects/dom.example/_b.htm.zro");
    EXPECT_NE(project.find("lastsub=" + regional::FormatDate(QDate::currentDate())), std::string::npos) << project;
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL);  // the default handler is back
  }
}

TEST_F(SubmitCommand, RefusesWhatItCannotRun) {
  EXPECT_EQ(Run({}), kExitUsage);
  EXPECT_EQ(Run({"--fast", "dom.example"}), kExitUsage);
  EXPECT_EQ(Run({"dom.example", "/none.htm"}), kExitFailure);
  WriteSettings("0");
  EXPECT_EQ(Run({"dom.example"}), kExitFailure);  // the database was never updated: No
  EXPECT_NE(err.str().find("Your database needs to be updated"), std::string::npos);
  EXPECT_EQ(server.Received().size(), 0u);
}

}  // namespace
}  // namespace qs

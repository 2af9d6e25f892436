// The update command against the scripted update server, on a copy of the installation data.
#include "cli/updatecommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/commandline.h"
#include "engines/updatefixture.h"
#include "store/biginifile.h"
#include "support/scriptserver.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

using test::Close;
using test::Script;
using test::ScriptServer;
using test::Write;

Script Answer(const std::string& body, int code = 200) {
  return {Write("HTTP/1.0 " + std::to_string(code) + " X\r\nContent-Length: " +
                std::to_string(body.size()) + "\r\n\r\n" + body),
          Close()};
}

class UpdateCommandTest : public testing::Test {
 protected:
  void Prepare(std::vector<Script> scripts) {
    server = std::make_unique<ScriptServer>(std::move(scripts));
    std::filesystem::copy(QS_SOURCE_DIR "/data", dir.Root(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    dir.Write("dfd.ini", "[Application]\r\nupdate=4\r\ndb=6\r\nmandb=2\r\ncats=3\r\nrank=1\r\n"
                         "software=55\r\nupdateurl=" + server->Base() + "\r\n");
  }
  int Run(const std::vector<std::string>& args) {
    std::istringstream in;
    return RunUpdateCommand(dir.AppFolder(), args, {in, out, err}, signer.Key());
  }
  std::string Setting(const std::string& key) {
    TBigIniFile ini(dir.Path("dfd.ini"));
    const std::string value = ini.ReadText("Application", key, "");
    ini.Close();
    return value;
  }
  test::TempFolder dir;
  std::unique_ptr<ScriptServer> server;
  test::TestSigner signer;
  std::ostringstream out, err;
};

TEST_F(UpdateCommandTest, PrintsTheTreeAsItChangesAndBringsTheFolderUpToDate) {
  const std::string archive = test::GcabArchive(
      {{"update-info.txt", "db=7\r\nmandb=2\r\ncats=3\r\nrank=1\r\nsoftware=55\r\nupdate=5\r\n"},
       {"data/datam.czc", "Only,http://only/,http://only/add\r\n"}});
  Prepare({Answer("update=5\r\nsoftware=55\r\n"), Answer(archive), Answer(signer.Sign(archive))});
  EXPECT_EQ(Run({}), kExitOk) << err.str();
  EXPECT_EQ(out.str(),
            "Checking for updates\n"
            "  Status: Connecting...\n"
            "  Software Databases: \n"
            "  Software Updates: \n"
            "  Databases: Update available\n"
            "  Software Updates: Current\n"
            "  Status: Connecting...\n"
            "  Status: Update Completed\n"
            "    Main Database Updated\n");
  EXPECT_EQ(Setting("db"), "7");
  EXPECT_EQ(Setting("update"), "5");
  EXPECT_EQ(dir.Read("data/datam.czc"), "Only,http://only/,http://only/add\r\n");
}

// Start-up stops at the missing manual list, before the engine tables are set up.
TEST_F(UpdateCommandTest, AFolderWhoseTablesAreMissingIsRepaired) {
  const std::string table =
      "1,Back,ENGINE,english,,International,1,Weekly,All,,http://b/,http://b/s,GET,,url\r\n";
  const std::string archive = test::GcabArchive(
      {{"update-info.txt", "db=7\r\nmandb=2\r\ncats=3\r\nrank=1\r\nsoftware=55\r\nupdate=5\r\n"},
       {"data/data.czc", table},
       {"data/datam.czc", "M,http://m/,http://m/s\r\n"}});
  Prepare({Answer("update=5\r\nsoftware=55\r\n"), Answer(archive), Answer(signer.Sign(archive))});
  std::filesystem::remove(dir.Path("data/data.czc"));
  std::filesystem::remove(dir.Path("data/datam.czc"));
  EXPECT_EQ(Run({}), kExitOk) << err.str();
  EXPECT_NE(err.str().find("datam.czc"), std::string::npos) << err.str();  // start-up said so
  EXPECT_EQ(dir.Read("data/data.czc"), table);
}

TEST_F(UpdateCommandTest, ARedLineExitsNonZero) {
  Prepare({Answer("", 500)});
  EXPECT_EQ(Run({}), kExitFailure);
  EXPECT_NE(out.str().find("\n    There was an error downloading the update Code# 00-500\n"),
            std::string::npos)
      << out.str();
}

TEST_F(UpdateCommandTest, TheCommandLineDispatchesIt) {
  Prepare({Answer("update=4\r\nsoftware=55\r\n")});
  std::istringstream in;
  EXPECT_EQ(RunCommandLine({"--home", dir.Root(), "update"}, dir.Root(), dir.Root(), {in, out, err}),
            kExitOk)
      << err.str();
  EXPECT_NE(out.str().find("  Databases: Current\n"), std::string::npos) << out.str();
  EXPECT_EQ(RunCommandLine({"--home", dir.Root(), "update", "now"}, dir.Root(), dir.Root(),
                           {in, out, err}),
            kExitUsage);
  EXPECT_NE(UsageText().find("  update "), std::string::npos);
}

}  // namespace
}  // namespace qs

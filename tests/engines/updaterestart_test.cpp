// Installing a downloaded software update: the restart program's work on a temporary
// application folder, the real quorvex-restart executable, and the hand-over at start-up.
#include "engines/restart.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <filesystem>

#include "engines/updatefixture.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

const std::string kOldProgram = "#!/bin/sh\necho old > started.txt\n";
const std::string kNewProgram = "#!/bin/sh\necho new > started.txt\n";

bool Executable(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0100) != 0;
}

// The folder of the built executables, where quorvex-restart lies beside quorvex-summit.
std::string ExecutableFolder() {
  return std::filesystem::path(QS_CLI_EXECUTABLE).parent_path().string();
}

// Waits (bounded) until the file exists.
bool Appears(const test::TempFolder& dir, const std::string& name) {
  QElapsedTimer t;
  t.start();
  while (!dir.Exists(name) && t.elapsed() < 15000) QThread::msleep(20);
  return dir.Exists(name);
}

class RestartTest : public testing::Test {
 protected:
  RestartTest() {
    dir.Write("quorvex-summit", kOldProgram);
    ::chmod(dir.Path("quorvex-summit").c_str(), 0755);
    dir.Write("data/data.czc", "old table\r\n");
  }
  void Waiting(const std::string& archive, const std::string& signature) {
    dir.Write("software.cab", archive);
    dir.Write("software.cab.sig", signature);
  }
  TRestartResult Restart(std::function<bool(int64_t)> running = nullptr, int64_t waitFor = 0,
                         int waitSeconds = 30) {
    TRestartOptions o;
    o.appDir = dir.Root();
    o.waitFor = waitFor;
    o.waitSeconds = waitSeconds;
    o.trustedKey = signer.Key();
    o.running = running ? running : [](int64_t) { return false; };
    o.start = [this](const std::string& program) {
      started.push_back(program);
      return true;
    };
    o.log = [this](const std::string& line) { log += line + "\n"; };
    return RunRestart(o);
  }
  test::TempFolder dir;
  test::TestSigner signer;
  std::vector<std::string> started;
  std::string log;
};

TEST_F(RestartTest, ReplacesTheExecutableAndStartsIt) {
  const std::string archive =
      test::GcabArchive({{"quorvex-summit", kNewProgram}, {"data/data.czc", "new table\r\n"}});
  Waiting(archive, signer.Sign(archive));
  EXPECT_EQ(Restart(), TRestartResult::Installed) << log;
  EXPECT_EQ(dir.Read("quorvex-summit"), kNewProgram);
  EXPECT_TRUE(Executable(dir.Path("quorvex-summit")));
  EXPECT_EQ(dir.Read("data/data.czc"), "new table\r\n");
  EXPECT_FALSE(dir.Exists("software.cab"));
  EXPECT_FALSE(dir.Exists("software.cab.sig"));
  EXPECT_EQ(started, (std::vector<std::string>{dir.Root() + "/quorvex-summit"}));
}

TEST_F(RestartTest, TheStoredExecutableTakesTheNameOfAppname) {
  dir.Write("dfd.ini", "[Application]\r\nappname=summit-bin\r\n");
  dir.Write("summit-bin", kOldProgram);
  std::filesystem::remove(dir.Path("quorvex-summit"));  // so the unpacked one is a new file
  const std::string archive = test::GcabArchive({{"quorvex-summit", kNewProgram}});
  Waiting(archive, signer.Sign(archive));
  EXPECT_EQ(Restart(), TRestartResult::Installed) << log;
  EXPECT_EQ(dir.Read("summit-bin"), kNewProgram);
  EXPECT_TRUE(Executable(dir.Path("summit-bin")));
  EXPECT_FALSE(dir.Exists("quorvex-summit"));
  EXPECT_EQ(started, (std::vector<std::string>{dir.Root() + "/summit-bin"}));
}

TEST_F(RestartTest, AnAppnameWithAFolderInItIsNotUsed) {
  for (const char* stored : {"../outside", "/bin/sh", "sub/prog", ".."})
    EXPECT_EQ(SafeAppName(stored), "quorvex-summit") << stored;
  EXPECT_EQ(SafeAppName("summit-bin"), "summit-bin");
  dir.Write("dfd.ini", "[Application]\r\nappname=../outside\r\n");
  const std::string archive = test::GcabArchive({{"quorvex-summit", kNewProgram}});
  Waiting(archive, signer.Sign(archive));
  EXPECT_EQ(Restart(), TRestartResult::Installed) << log;
  EXPECT_EQ(started, (std::vector<std::string>{dir.Root() + "/quorvex-summit"}));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir.Root()).parent_path() / "outside"));
}

TEST_F(RestartTest, AnArchiveThatIsNotTrustedOrBrokenInstallsNothing) {
  const std::string archive = test::GcabArchive({{"quorvex-summit", kNewProgram}});
  test::TestSigner stranger;
  struct {
    const char* name;
    std::string archive, signature;
    bool withSignature;
  } cases[] = {
      {"signed by another key", archive, stranger.Sign(archive), true},
      {"signature of other bytes", archive, signer.Sign(archive + "x"), true},
      {"no signature", archive, "", false},
      {"signed but broken", archive.substr(0, archive.size() / 2),
       signer.Sign(archive.substr(0, archive.size() / 2)), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    started.clear();
    dir.Write("software.cab", c.archive);
    if (c.withSignature) dir.Write("software.cab.sig", c.signature);
    EXPECT_EQ(Restart(), TRestartResult::Refused);
    EXPECT_EQ(dir.Read("quorvex-summit"), kOldProgram);
    // Both files go, or every start would hand over again; the old program starts.
    EXPECT_FALSE(dir.Exists("software.cab"));
    EXPECT_FALSE(dir.Exists("software.cab.sig"));
    EXPECT_EQ(started.size(), 1u);
  }
}

TEST_F(RestartTest, WaitsForTheProgramToEnd) {
  const std::string archive = test::GcabArchive({{"quorvex-summit", kNewProgram}});
  Waiting(archive, signer.Sign(archive));
  int asked = 0;
  std::string seenWhileRunning;
  auto running = [&](int64_t pid) {
    EXPECT_EQ(pid, 4242);
    seenWhileRunning = dir.Read("quorvex-summit");
    return ++asked < 3;
  };
  EXPECT_EQ(Restart(running, 4242), TRestartResult::Installed);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(seenWhileRunning, kOldProgram);
  EXPECT_EQ(dir.Read("quorvex-summit"), kNewProgram);
}

TEST_F(RestartTest, AProgramThatDoesNotEndKeepsTheUpdateWaiting) {
  const std::string archive = test::GcabArchive({{"quorvex-summit", kNewProgram}});
  Waiting(archive, signer.Sign(archive));
  EXPECT_EQ(Restart([](int64_t) { return true; }, 4242, 0), TRestartResult::StillRunning);
  EXPECT_EQ(dir.Read("quorvex-summit"), kOldProgram);
  EXPECT_TRUE(dir.Exists("software.cab"));
  EXPECT_TRUE(started.empty());
}

TEST_F(RestartTest, WithNothingWaitingTheProgramIsStarted) {
  EXPECT_EQ(Restart(), TRestartResult::NothingWaiting);
  EXPECT_EQ(dir.Read("quorvex-summit"), kOldProgram);
  EXPECT_EQ(started.size(), 1u);
}

// The built restart program, started as the program starts it: it waits for a process that
// has ended, refuses the archive (signed with the test key, not the publisher's) and starts
// the program it found.
TEST_F(RestartTest, TheRestartProgramRefusesAnArchiveNotSignedByThePublisher) {
  const std::string archive = test::GcabArchive({{"quorvex-summit", kNewProgram}});
  Waiting(archive, signer.Sign(archive));
  QProcess ended;
  ended.start(QStringLiteral("true"), {});
  ASSERT_TRUE(ended.waitForStarted(10000));
  const qint64 pid = ended.processId();
  ASSERT_TRUE(ended.waitForFinished(10000));
  QProcess restart;
  restart.setWorkingDirectory(QString::fromStdString(dir.Root()));
  restart.start(QString::fromStdString(ExecutableFolder() + "/quorvex-restart"),
                {"--wait", QString::number(pid)});
  ASSERT_TRUE(restart.waitForFinished(30000));
  EXPECT_EQ(restart.exitCode(), 1);
  EXPECT_NE(restart.readAllStandardError().toStdString().find("not signed by the publisher"),
            std::string::npos);
  ASSERT_TRUE(Appears(dir, "started.txt"));
  QThread::msleep(100);
  EXPECT_EQ(dir.Read("started.txt"), "old\n");
  EXPECT_EQ(dir.Read("quorvex-summit"), kOldProgram);
  EXPECT_FALSE(dir.Exists("software.cab"));
}

TEST_F(RestartTest, TheHandOverStartsTheRestartProgramInTheFolder) {
  std::string failure;
  EXPECT_FALSE(HandOverPendingSoftware(dir.AppFolder(), dir.Path("bin"), failure));
  EXPECT_TRUE(failure.empty());  // nothing waits

  dir.Write("software.cab", "waiting");
  EXPECT_FALSE(HandOverPendingSoftware(dir.AppFolder(), dir.Path("no-such-folder"), failure));
  EXPECT_NE(failure.find("quorvex-restart"), std::string::npos) << failure;

  // A stand-in restart program that notes its arguments and its folder.
  dir.Write("bin/quorvex-restart", "#!/bin/sh\necho \"$1 $2 $(pwd)\" > handed.txt\n");
  ::chmod(dir.Path("bin/quorvex-restart").c_str(), 0755);
  EXPECT_TRUE(HandOverPendingSoftware(dir.AppFolder(), dir.Path("bin"), failure)) << failure;
  ASSERT_TRUE(Appears(dir, "handed.txt"));
  QThread::msleep(100);
  EXPECT_EQ(dir.Read("handed.txt"), "--wait " + std::to_string(QCoreApplication::applicationPid()) +
                                        " " + std::filesystem::canonical(dir.Root()).string() +
                                        "\n");
}

}  // namespace
}  // namespace qs

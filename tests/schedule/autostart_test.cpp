// The autostart entries: the desktop entry files, their quoting, and TZedraAutostart's
// rules (the first call, renaming, the scope, names that cannot be files).
#include "schedule/zedraautostart.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>
#include <sys/stat.h>

#include <cstdlib>

#include "support/tempfolder.h"

namespace qs {
namespace {

class Autostart : public ::testing::Test {
 protected:
  TAutostartStore Store() const { return TAutostartStore({dir.Path("user"), dir.Path("machine")}); }
  TZedraAutostart Component() const { return TZedraAutostart("Quorvex Summit v5.5", Store(), exe); }
  bool Has(const std::string& file) const { return dir.Exists(file); }

  test::TempFolder dir;
  std::string exe = "/opt/q s/quorvex-summit";
};

TEST_F(Autostart, ExecValuesQuoteTheProgramAsDesktopEntriesRequire) {
  struct Case {
    std::string executable, exec;
  };
  const std::vector<Case> cases = {
      {"/usr/bin/quorvex-summit", "\"/usr/bin/quorvex-summit\""},
      {"/opt/q s/run", "\"/opt/q s/run\""},
      // " ` $ \ are escaped inside the quotes, and the backslash doubled again as a string.
      {"/x/a\"b`c$d\\e", "\"/x/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e\""},
      {"/x/100%", "\"/x/100%%\""},
  };
  for (const Case& c : cases) EXPECT_EQ(TAutostartStore::ExecValue(c.executable), c.exec) << c.executable;
  EXPECT_EQ(TAutostartStore::RunOnceExecValue("/h/a.runonce.desktop", "/p/q"),
            "sh -c \"rm -f -- \\\\\"\\\\$0\\\\\"; exec \\\\\"\\\\$1\\\\\"\" \"/h/a.runonce.desktop\" \"/p/q\"");
}

TEST_F(Autostart, EntriesAreWrittenReadAndRemovedByName) {
  const TAutostartStore store = Store();
  EXPECT_FALSE(store.Exists("QuorvexEnt", TAutostartList::EveryLogon, false));
  ASSERT_TRUE(store.Write("QuorvexEnt", TAutostartList::EveryLogon, false, exe));
  EXPECT_EQ(dir.Read("user/QuorvexEnt.desktop"),
            "[Desktop Entry]\nType=Application\nName=QuorvexEnt\nExec=\"/opt/q s/quorvex-summit\"\n"
            "X-GNOME-Autostart-enabled=true\n");
  EXPECT_TRUE(store.Exists("QuorvexEnt", TAutostartList::EveryLogon, false));
  EXPECT_FALSE(store.Exists("QuorvexEnt", TAutostartList::NextLogon, false));
  EXPECT_FALSE(store.Exists("QuorvexEnt", TAutostartList::EveryLogon, true));
  ASSERT_TRUE(store.Write("QuorvexEnt", TAutostartList::NextLogon, false, exe));
  EXPECT_NE(dir.Read("user/QuorvexEnt.runonce.desktop").find("Exec=sh -c "), std::string::npos);
  EXPECT_TRUE(store.Remove("QuorvexEnt", TAutostartList::EveryLogon, false));
  EXPECT_FALSE(Has("user/QuorvexEnt.desktop"));
  EXPECT_TRUE(store.Remove("QuorvexEnt", TAutostartList::EveryLogon, false));  // already gone
  // An entry without a command reads as off.
  dir.Write("user/Empty.desktop", "[Desktop Entry]\nExec=\n");
  EXPECT_FALSE(store.Exists("Empty", TAutostartList::EveryLogon, false));
  // Names that would leave the folder or cannot be file names write nothing.
  for (const char* bad : {"", ".", "..", "../x", "a/b", "line\nbreak"}) {
    EXPECT_FALSE(store.Write(bad, TAutostartList::EveryLogon, false, exe)) << bad;
    EXPECT_FALSE(store.Exists(bad, TAutostartList::EveryLogon, false)) << bad;
  }
  EXPECT_FALSE(Has("x.desktop"));
  EXPECT_FALSE(store.Write("Q", TAutostartList::EveryLogon, false, "/bad\npath"));
}

TEST_F(Autostart, TheRunOnceEntryRemovesItselfAndStartsTheProgram) {
  const TAutostartStore store = Store();
  const std::string marker = dir.Path("started");
  dir.Write("bin/prog", "#!/bin/sh\necho yes > '" + marker + "'\n");
  ASSERT_EQ(chmod(dir.Path("bin/prog").c_str(), 0755), 0);
  ASSERT_TRUE(store.Write("Once", TAutostartList::NextLogon, false, dir.Path("bin/prog")));
  // What a session does with the Exec line: undo the string escapes, split the quoted
  // arguments, and start them.
  std::string exec = dir.Read("user/Once.runonce.desktop");
  exec = exec.substr(exec.find("Exec=") + 5);
  exec = exec.substr(0, exec.find('\n'));
  std::string unescaped;
  for (size_t i = 0; i < exec.size(); ++i) {
    if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
    unescaped += exec[i];
  }
  // The quoting rules of an Exec argument are the shell's double quotes for these texts.
  ASSERT_EQ(std::system(unescaped.c_str()), 0) << unescaped;
  EXPECT_EQ(dir.Read("started"), "yes\n");
  EXPECT_FALSE(Has("user/Once.runonce.desktop"));
}

TEST_F(Autostart, TheFirstCallKeepsTheEveryLogonEntryAsItStands) {
  {  // Present at program start: the window's stored "off" leaves it in place.
    ASSERT_TRUE(Store().Write("QuorvexEnt", TAutostartList::EveryLogon, false, "/old"));
    ASSERT_TRUE(Store().Write("QuorvexEnt", TAutostartList::NextLogon, false, "/old"));
    TZedraAutostart a = Component();
    a.ApplyProgramSettings();
    EXPECT_EQ(a.AppName(), "QuorvexEnt");
    EXPECT_TRUE(a.Autostart());
    EXPECT_FALSE(a.StartNextLogon());  // the second call is applied as asked
    a.SetAutostart(false);
    EXPECT_FALSE(a.Autostart());
  }
  {  // Absent: nothing is created; later calls apply as asked.
    TZedraAutostart a = Component();
    a.SetAppName("QuorvexEnt");
    a.SetAutostart(true);  // the first call: the entry's state (absent) wins
    EXPECT_FALSE(a.Autostart());
    a.SetAutostart(true);
    EXPECT_TRUE(a.Autostart());
    EXPECT_NE(dir.Read("user/QuorvexEnt.desktop").find("Exec=\"/opt/q s/quorvex-summit\""),
              std::string::npos);
  }
}

TEST_F(Autostart, RenamingMovesEveryEntryAndLetterCaseAloneChangesNothing) {
  TZedraAutostart a = Component();
  EXPECT_EQ(a.AppName(), "Quorvex Summit v5.5#Autostart");
  a.SetAppName("QuorvexEnt");
  a.SetAutostart(false);  // the first call
  a.SetAutostart(true);
  a.SetStartNextLogon(true);
  a.SetAppName("QUORVEXENT");
  EXPECT_EQ(a.AppName(), "QuorvexEnt");
  EXPECT_TRUE(Has("user/QuorvexEnt.desktop"));
  EXPECT_FALSE(Has("user/QUORVEXENT.desktop"));
  a.SetAppName("Other");
  EXPECT_FALSE(Has("user/QuorvexEnt.desktop"));
  EXPECT_FALSE(Has("user/QuorvexEnt.runonce.desktop"));
  EXPECT_TRUE(a.Autostart());
  EXPECT_TRUE(a.StartNextLogon());
  EXPECT_TRUE(Has("user/Other.desktop"));
  // A name that cannot be a file: the entries stay where they were.
  a.SetAppName("a/b");
  EXPECT_TRUE(Has("user/Other.desktop"));
  EXPECT_FALSE(a.Autostart());
}

TEST_F(Autostart, GlobalMovesTheEntriesAndIsRefusedWhereTheMachineFolderCannotBeWritten) {
  TZedraAutostart a = Component();
  a.ApplyProgramSettings();
  a.SetAutostart(true);
  a.SetGlobal(true);
  EXPECT_TRUE(a.Global());
  EXPECT_TRUE(Has("machine/QuorvexEnt.desktop"));
  EXPECT_FALSE(Has("user/QuorvexEnt.desktop"));
  EXPECT_FALSE(Has("machine/.quorvex-write-test"));
  EXPECT_TRUE(a.Autostart());
  a.SetGlobal(false);
  EXPECT_TRUE(Has("user/QuorvexEnt.desktop"));
  EXPECT_FALSE(Has("machine/QuorvexEnt.desktop"));

  // A machine folder that cannot be made (a file stands in its place).
  dir.Write("blocked", "");
  TZedraAutostart b("T", TAutostartStore({dir.Path("user"), dir.Path("blocked/autostart")}), exe);
  b.ApplyProgramSettings();
  b.SetGlobal(true);
  EXPECT_FALSE(b.Global());
  EXPECT_TRUE(Has("user/QuorvexEnt.desktop"));
}

TEST(AutostartFolders, FollowXdgConfigHome) {
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  const bool had = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
  EXPECT_EQ(TAutostartFolders::Default().user, "/tmp/cfg/autostart");
  qputenv("XDG_CONFIG_HOME", "relative");  // not absolute: ignored
  EXPECT_EQ(TAutostartFolders::Default().user, qgetenv("HOME").toStdString() + "/.config/autostart");
  EXPECT_EQ(TAutostartFolders::Default().machine, "/etc/xdg/autostart");
  if (had) qputenv("XDG_CONFIG_HOME", saved); else qunsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace qs

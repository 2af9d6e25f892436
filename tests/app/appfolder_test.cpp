// The application folder: which folder is used, and how stored paths become full paths.
#include "app/appfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "app/errors.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

class EnvScope {
 public:
  EnvScope(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~EnvScope() {
    if (had_)
      ::setenv(name_, old_.c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(AppFolder, StoredPathsBecomeFullPaths) {
  TAppFolder folder("/srv/qs//");
  EXPECT_EQ(folder.Root(), "/srv/qs");
  EXPECT_EQ(folder.Path("\\data\\domains\\domains.zro"), "/srv/qs/data/domains/domains.zro");
  EXPECT_EQ(folder.Path("\\dfd.ini"), "/srv/qs/dfd.ini");
  EXPECT_EQ(folder.Path("/lang.ini"), "/srv/qs/lang.ini");
  EXPECT_EQ(TAppFolder("/srv/a/../b").Root(), "/srv/b");
}

TEST(AppFolder, HomeOptionThenEnvironmentThenTheExecutablesFolder) {
  test::TempFolder exe, env, home;
  {
    EnvScope scope("QUORVEX_HOME", env.Root().c_str());
    EXPECT_EQ(TAppFolder::Resolve(home.Root(), exe.Root(), "").Root(), home.Root());
    EXPECT_EQ(TAppFolder::Resolve("", exe.Root(), "").Root(), env.Root());
  }
  EnvScope none("QUORVEX_HOME", nullptr);
  EXPECT_EQ(TAppFolder::Resolve("", exe.Root(), "").Root(), exe.Root());
}

TEST(AppFolder, AnUnwritableExecutableFolderFallsBackToThePerUserFolder) {
  test::TempFolder data, installed;
  installed.Write("english.txt", "lang=english\n");
  installed.Write("data/datam.czc", "a,b,c\n");
  EnvScope none("QUORVEX_HOME", nullptr);
  EnvScope xdg("XDG_DATA_HOME", data.Root().c_str());
  // /proc cannot be written, not even by root.
  TAppFolder folder = TAppFolder::Resolve("", "/proc/self", installed.Root());
  EXPECT_EQ(folder.Root(), data.Root() + "/quorvex-summit");
  EXPECT_TRUE(data.Exists("quorvex-summit/english.txt"));
  EXPECT_TRUE(data.Exists("quorvex-summit/data/datam.czc"));
  // Filled once: what the program keeps there later is not overwritten.
  data.Write("quorvex-summit/english.txt", "changed");
  TAppFolder::Resolve("", "/proc/self", installed.Root());
  EXPECT_EQ(data.Read("quorvex-summit/english.txt"), "changed");
  // A shipped file that went missing (a folder half filled by an older version) comes back.
  std::filesystem::remove(data.Path("quorvex-summit/data/datam.czc"));
  installed.Write("data/new.gif", "GIF");
  TAppFolder::Resolve("", "/proc/self", installed.Root());
  EXPECT_EQ(data.Read("quorvex-summit/data/datam.czc"), "a,b,c\n");
  EXPECT_EQ(data.Read("quorvex-summit/data/new.gif"), "GIF");
  EXPECT_EQ(data.Read("quorvex-summit/english.txt"), "changed");
}

TEST(AppFolder, AFillThatFailsLeavesNoHalfFilledFolder) {
  test::TempFolder data, installed;
  installed.Write("a.txt", "a");
  // A pipe in the installation data cannot be copied: the fill fails part way.
  ASSERT_EQ(::mkfifo(installed.Path("pipe").c_str(), 0600), 0);
  installed.Write("z.txt", "z");
  EnvScope none("QUORVEX_HOME", nullptr);
  EnvScope xdg("XDG_DATA_HOME", data.Root().c_str());
  EXPECT_THROW(TAppFolder::Resolve("", "/proc/self", installed.Root()), IoError);
  // Nothing is left: not the folder, not the hidden one it was filled in.
  EXPECT_TRUE(std::filesystem::is_empty(data.Root()));
  std::filesystem::remove(installed.Path("pipe"));
  EXPECT_EQ(TAppFolder::Resolve("", "/proc/self", installed.Root()).Root(),
            data.Root() + "/quorvex-summit");
  EXPECT_EQ(data.Read("quorvex-summit/z.txt"), "z");
}

}  // namespace
}  // namespace qs

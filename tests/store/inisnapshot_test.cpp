// The INI snapshot: read once, read again exactly when the file changed.
#include "store/inisnapshot.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QLockFile>
#include <filesystem>

#include "app/errors.h"
#include "platform/filesystem.h"
#include "store/storelock.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

class IniSnapshot : public ::testing::Test {
 protected:
  std::string Value(std::string_view key = "k") { return snapshot.Fresh().ReadText("s", key, "none"); }
  timespec Modified() const {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mtim;
  }
  void SetModified(const std::string& file, const timespec& when) const {
    const timespec times[2] = {when, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  }

  test::TempFolder dir;
  std::string path = dir.Path("p.zro");
  TIniSnapshot snapshot{path};
};

TEST_F(IniSnapshot, AnUnchangedFileIsReadOnce) {
  dir.Write("p.zro", "[s]\r\nk=one\r\n");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Value(), "one");
  EXPECT_EQ(snapshot.Reads(), 1);
  // The snapshot keeps no other process from writing the file (a run holds it for its
  // whole length).
  QLockFile other(QString::fromStdString(TStoreLock::LockFileOf(path)));
  EXPECT_TRUE(other.tryLock(0));
}

TEST_F(IniSnapshot, EveryKindOfChangeIsSeenByTheNextLook) {
  dir.Write("p.zro", "[s]\r\nk=one\r\n");
  EXPECT_EQ(Value(), "one");
  // Written in place with another size.
  dir.Write("p.zro", "[s]\r\nk=three\r\n");
  EXPECT_EQ(Value(), "three");
  EXPECT_EQ(snapshot.Reads(), 2);
  // Replaced by a file of the same size and the same modification time: only the inode
  // tells, as with every file this program writes.
  const timespec before = Modified();
  dir.Write("new.zro", "[s]\r\nk=eerht\r\n");
  SetModified(dir.Path("new.zro"), before);
  std::filesystem::rename(dir.Path("new.zro"), path);
  EXPECT_EQ(Value(), "eerht");
  EXPECT_EQ(snapshot.Reads(), 3);
  // Through the atomic writer.
  WriteFileAtomically(path, "[s]\r\nk=four\r\n");
  EXPECT_EQ(Value(), "four");
  // Removed: an empty store; written again: read.
  RemoveFile(path);
  EXPECT_EQ(Value(), "none");
  EXPECT_EQ(Value(), "none");
  EXPECT_EQ(snapshot.Reads(), 5);
  dir.Write("p.zro", "[s]\r\nk=five\r\n");
  EXPECT_EQ(Value(), "five");
  EXPECT_EQ(snapshot.Reads(), 6);
}

TEST_F(IniSnapshot, AFileThatCannotBeReadThrowsAtEveryLookAndKeepsNothing) {
  dir.Write("p.zro", "[s]\r\nk=one\r\n");
  EXPECT_EQ(Value(), "one");
  RemoveFile(path);
  std::filesystem::create_directory(path);
  EXPECT_THROW(Value(), IoError);
  EXPECT_THROW(Value(), IoError);
  std::filesystem::remove(path);
  dir.Write("p.zro", "[s]\r\nk=two\r\n");
  EXPECT_EQ(Value(), "two");
}

TEST_F(IniSnapshot, DuplicateSectionsAreDroppedFromTheFileOnceAsAClosedStoreWouldDo) {
  dir.Write("p.zro", "[s]\r\nk=one\r\n[S]\r\nk=two\r\n");
  EXPECT_EQ(Value(), "one");
  EXPECT_EQ(dir.Read("p.zro"), "[s]\r\nk=one\r\n\r\n");
  EXPECT_EQ(Value(), "one");
  EXPECT_EQ(snapshot.Reads(), 1);  // its own write is not taken for a change
}

TEST_F(IniSnapshot, AnotherPathDropsTheSnapshot) {
  dir.Write("p.zro", "[s]\r\nk=one\r\n");
  dir.Write("q.zro", "[s]\r\nk=two\r\n");
  EXPECT_EQ(Value(), "one");
  snapshot.SetPath(dir.Path("q.zro"));
  EXPECT_EQ(Value(), "two");
}

}  // namespace
}  // namespace qs

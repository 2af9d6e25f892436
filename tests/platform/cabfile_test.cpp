// TCABFile: extraction of real cabinets made by gcab, and refusal of hostile ones without a
// byte written anywhere.
#include "platform/cabfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "engines/updatefixture.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

using test::RawCabinet;
using test::RawEntry;
using test::Snapshot;

class CabFileTest : public testing::Test {
 protected:
  CabFileTest() {
    dir.Write("app/dfd.ini", "[Application]\nupdate=1\n");
    dir.Write("app/data/data.czc", "old table\r\n");
  }
  std::string Archive(const std::string& bytes) {
    dir.Write("archive.cab", bytes);
    return dir.Path("archive.cab");
  }
  test::TempFolder dir;
};

TEST_F(CabFileTest, ExtractsEveryEntryWithItsFoldersAndDate) {
  const QDateTime stored(QDate(2024, 3, 5), QTime(10, 20, 30), Qt::LocalTime);
  for (bool compress : {true, false}) {
    SCOPED_TRACE(compress ? "MSZIP" : "stored");
    const std::string big(100000, 'x');  // more than one data block
    TCABFile cab(Archive(test::GcabArchive({{"update-info.txt", "db=7\n"},
                                            {"data/data.czc", "new table\r\n" + big},
                                            {"data/help/new/page.htm", "<p>new</p>"}},
                                           compress, stored)));
    ASSERT_TRUE(cab.ExtractTo(dir.Path("app"))) << cab.ErrorText();
    EXPECT_EQ(dir.Read("app/update-info.txt"), "db=7\n");
    EXPECT_EQ(dir.Read("app/data/data.czc"), "new table\r\n" + big);  // replaced
    EXPECT_EQ(dir.Read("app/data/help/new/page.htm"), "<p>new</p>");  // folders created
    EXPECT_EQ(dir.Read("app/dfd.ini"), "[Application]\nupdate=1\n");  // not in the archive
    struct stat st {};
    ASSERT_EQ(::stat(dir.Path("app/data/help/new/page.htm").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, stored.toSecsSinceEpoch());
    ASSERT_EQ(cab.Extracted().size(), 3u);
    EXPECT_EQ(cab.Extracted()[1].storedName, "data\\data.czc");
    EXPECT_EQ(cab.Extracted()[1].path, "data/data.czc");
    // No temporary file is left beside the entries.
    for (const auto& [path, bytes] : Snapshot(dir.Path("app")))
      EXPECT_EQ(path.find(".cab-"), std::string::npos) << path;
  }
}

TEST_F(CabFileTest, HandMadeCabinetsExtractLikeGcabOnes) {
  // The builder the hostile cases below rely on makes cabinets that extract.
  TCABFile cab(Archive(RawCabinet({{"a.txt", "alpha"}, {"sub\\b.txt", "beta", -1, 0x60}})));
  ASSERT_TRUE(cab.ExtractTo(dir.Path("app"))) << cab.ErrorText();
  EXPECT_EQ(dir.Read("app/a.txt"), "alpha");
  EXPECT_EQ(dir.Read("app/sub/b.txt"), "beta");
  struct stat st {};
  ASSERT_EQ(::stat(dir.Path("app/sub/b.txt").c_str(), &st), 0);
  EXPECT_NE(st.st_mode & 0100, 0u) << "the executable attribute gives an executable file";
  ASSERT_EQ(::stat(dir.Path("app/a.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0111, 0u);
}

TEST(CabFilePaths, StoredNamesThatWouldLeaveTheFolderAreRefused) {
  struct {
    std::string stored, path;
  } cases[] = {
      {"update-info.txt", "update-info.txt"},
      {"data\\data.czc", "data/data.czc"},
      {"data/help/a.htm", "data/help/a.htm"},
      {"caf\xC3\xA9.txt", "caf\xC3\xA9.txt"},
      {"..\\dfd.ini", ""},
      {"data\\..\\..\\etc\\passwd", ""},
      {"..", ""},
      {".\\a", ""},
      {"\\etc\\passwd", ""},
      {"/etc/passwd", ""},
      {"\\\\server\\share\\a", ""},
      {"C:\\Windows\\a.exe", ""},
      {"c:a.exe", ""},
      {"data\\", ""},
      {"data\\\\a", ""},
      {"", ""},
      {"a\nb", ""},
      {std::string("a\x01", 2), ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TCABFile::SafeRelativePath(c.stored), c.path) << c.stored;
}

TEST_F(CabFileTest, HostileArchivesAreRefusedAndWriteNothing) {
  const std::string good = test::GcabArchive({{"data/data.czc", "new table\r\n"}});
  ASSERT_FALSE(good.empty());
  std::string lengthened = good + "trailing bytes";
  std::string resized = good;
  resized[8] = static_cast<char>(resized[8] + 1);  // the header claims a byte more
  struct {
    const char* name;
    std::string bytes;
    const char* error;
  } cases[] = {
      {"path traversal", RawCabinet({{"a.txt", "fine"}, {"..\\outside.txt", "evil"}}),
       "outside the target folder"},
      {"deep traversal", RawCabinet({{"data\\..\\..\\outside.txt", "evil"}}),
       "outside the target folder"},
      {"absolute path", RawCabinet({{"a.txt", "fine"}, {"\\tmp\\outside.txt", "evil"}}),
       "outside the target folder"},
      {"absolute path with slashes", RawCabinet({{"/tmp/outside.txt", "evil"}}),
       "outside the target folder"},
      {"drive letter", RawCabinet({{"C:\\outside.txt", "evil"}}), "outside the target folder"},
      {"truncated", good.substr(0, good.size() - 7), "damaged"},
      {"cut inside the header", good.substr(0, 20), "not a cabinet"},
      {"longer than its header says", lengthened, "damaged"},
      {"header size wrong", resized, "damaged"},
      {"not a cabinet", "PK\x03\x04 this is a zip file, not a cabinet", "not a cabinet"},
      {"empty", "", "not a cabinet"},
      {"entry larger than it claims", RawCabinet({{"a.txt", "fine"}, {"b.txt", "0123456789", 4}}),
       "larger than its entries claim"},
      {"entry claims more than there is", RawCabinet({{"a.txt", "fine"}, {"b.txt", "0123", 4000}}),
       "claims more data"},
      {"bad data checksum", RawCabinet({{"a.txt", "fine"}, {"b.txt", "data", -1, 0x20, true}}),
       "cannot be unpacked"},
      {"file and folder of one name", RawCabinet({{"data", "x"}, {"data\\b.txt", "y"}}),
       "both a file and a folder"},
  };
  const auto before = Snapshot(dir.Root());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string archive = Archive(c.bytes);
    const auto expected = Snapshot(dir.Root());  // the archive itself is the only change
    TCABFile cab(archive);
    EXPECT_FALSE(cab.ExtractTo(dir.Path("app")));
    EXPECT_NE(cab.ErrorText().find(c.error), std::string::npos) << cab.ErrorText();
    EXPECT_EQ(Snapshot(dir.Root()), expected);
    EXPECT_TRUE(cab.Extracted().empty());
  }
  std::filesystem::remove(dir.Path("archive.cab"));
  EXPECT_EQ(Snapshot(dir.Root()), before);
}

TEST_F(CabFileTest, ALinkLeadingOutOfTheFolderIsNotFollowed) {
  dir.Write("outside/keep.txt", "keep");
  std::filesystem::create_directory_symlink(dir.Path("outside"), dir.Path("app/linked"));
  for (const char* name : {"linked\\new.txt", "linked\\deeper\\new.txt"}) {
    SCOPED_TRACE(name);
    TCABFile cab(Archive(RawCabinet({{name, "evil"}})));
    EXPECT_FALSE(cab.ExtractTo(dir.Path("app")));
    EXPECT_NE(cab.ErrorText().find("outside the target folder"), std::string::npos)
        << cab.ErrorText();
    EXPECT_EQ(Snapshot(dir.Path("outside")), (std::map<std::string, std::string>{{"keep.txt", "keep"}}));
  }
}

TEST_F(CabFileTest, AFailedWriteIsToldWithTheSystemsTextAndUndone) {
  std::filesystem::create_directories(dir.Path("app/data/taken.txt"));  // a folder of that name
  const auto before = Snapshot(dir.Path("app"));
  TCABFile cab(Archive(RawCabinet({{"new\\first.txt", "first"}, {"data\\taken.txt", "second"}})));
  std::vector<std::string> told;
  cab.OnWriteError = [&](const std::string& text) { told.push_back(text); };
  EXPECT_FALSE(cab.ExtractTo(dir.Path("app")));
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("Is a directory"), std::string::npos) << told[0];
  EXPECT_EQ(cab.ErrorText(), told[0]);
  // The first entry was unpacked already; it is not put in place, and its new folder goes.
  EXPECT_EQ(Snapshot(dir.Path("app")), before);
}

TEST_F(CabFileTest, AMissingArchiveOrTargetIsAFailure) {
  TCABFile missing(dir.Path("nothing.cab"));
  EXPECT_FALSE(missing.ExtractTo(dir.Path("app")));
  EXPECT_NE(missing.ErrorText().find("nothing.cab"), std::string::npos);
  TCABFile cab(Archive(RawCabinet({{"a.txt", "alpha"}})));
  EXPECT_FALSE(cab.ExtractTo(dir.Path("no-such-folder")));
  EXPECT_FALSE(dir.Exists("no-such-folder"));
}

}  // namespace
}  // namespace qs

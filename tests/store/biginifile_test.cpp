// The INI store: reading rules, key search, every operation, saving, and failures.
#include "store/biginifile.h"

#include "platform/filesystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include <QLockFile>
#include <QSysInfo>

#include "app/errors.h"
#include "store/storelock.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

using Lines = std::vector<std::string>;

Lines AllLines(TBigIniFile& ini) {
  Lines lines;
  ini.ReadAllLines(lines);
  return lines;
}

// Loads bytes from a file and returns what the store holds.
Lines Loaded(const std::string& bytes, bool* changed = nullptr) {
  test::TempFolder dir;
  dir.Write("t.ini", bytes);
  TBigIniFile ini(dir.Path("t.ini"));
  Lines lines = AllLines(ini);
  if (changed) *changed = ini.Changed();
  ini.Close();
  return lines;
}

TEST(IniReading, FollowsTheLineRules) {
  const std::string a255(255, 'a');
  struct Case {
    const char* what;
    std::string bytes;
    Lines held;
  } cases[] = {
      {"LF and CR LF end lines", "[S]\nk=1\r\nj=2", {"[S]", "k=1", "j=2", ""}},
      {"a lone CR is dropped", "[S]\r\nk=1\r2\rx\n", {"[S]", "k=12x", ""}},
      {"a line is cut to 255 bytes", "[S]\n" + a255 + "bcd\n", {"[S]", a255, ""}},
      {"the cut never splits a UTF-8 sequence",
       "[S]\n" + std::string(254, 'a') + "\xC3\xA9z\n",
       {"[S]", std::string(254, 'a'), ""}},
      {"0x1A at a line's start ends the file", "[S]\nk=1\n\x1A" "rest\nj=2\n", {"[S]", "k=1", ""}},
      {"0x1A inside a line is kept", "[S]\nk=a\x1A" "b\n", {"[S]", "k=a\x1A" "b", ""}},
      {"NUL bytes are kept", std::string("[S]\nk=a\0b\n", 10), {"[S]", std::string("k=a\0b", 5), ""}},
      {"empty lines are skipped", "\n\n[S]\n\n\r\nk=1\n\n", {"[S]", "k=1", ""}},
      {"lines before the first header are dropped", "x=1\nfree\n[S]\nk=1\n", {"[S]", "k=1", ""}},
      {"a header with a trailing blank is an ordinary line", "[S]\n[T] \nk=1\n",
       {"[S]", "[T] ", "k=1", ""}},
      {"a header cut at 255 is no header", "[S]\n[" + a255 + "]\n", {"[S]", "[" + a255.substr(0, 254), ""}},
      {"the section name is untrimmed", "[ S ]\nk=1\n", {"[ S ]", "k=1", ""}},
      {"an empty name is a section", "[]\nk=1\n", {"[]", "k=1", ""}},
      {"no comment syntax", "[S]\n;note=1\n#x\n", {"[S]", ";note=1", "#x", ""}},
      {"a section without lines is held but not listed", "[E]\n[S]\nk=1\n", {"[S]", "k=1", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(Loaded(c.bytes), c.held) << c.what;
}

TEST(IniReading, DuplicateSectionsLeaveTheFirstAndMarkTheStoreChanged) {
  bool changed = false;
  EXPECT_EQ(Loaded("[Proxy]\na=1\n[Other]\nb=2\n[proxy]\nc=3\n[PROXY]\nd=4\n", &changed),
            (Lines{"[Proxy]", "a=1", "", "[Other]", "b=2", ""}));
  EXPECT_TRUE(changed);
  Loaded("[A]\na=1\n[B]\nb=2\n", &changed);
  EXPECT_FALSE(changed);

  test::TempFolder dir;
  dir.Write("t.ini", "[Proxy]\r\na=1\r\n[proxy]\r\nc=3\r\n");
  TBigIniFile ini(dir.Path("t.ini"));
  ini.Close();
  EXPECT_EQ(dir.Read("t.ini"), "[Proxy]\r\na=1\r\n\r\n");
}

TEST(IniReading, ArbitraryBytesLoad) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919) % 256);
  bytes += "\n[S]\n" + std::string(2'000'000, 'x') + "\nk=v\n";
  Lines lines = Loaded(bytes);
  ASSERT_GE(lines.size(), 3u);
  for (const auto& l : lines) EXPECT_LE(l.size(), 255u);
}

TEST(IniKeys, LookupRules) {
  TBigIniFile ini("");
  ini.WriteSectionLines("List", {"URL=first", "url=second", "key =blank", "plain", "empty="});
  struct Case {
    const char* section;
    const char* key;
    std::string expected;
  } cases[] = {
      {"list", "Url", "first"},       // letter case ignored, first occurrence wins
      {"LIST", "key", "default"},     // "key " is not "key"
      {"List", "key ", "blank"},      // keys and values are not trimmed
      {"List", "plain", "default"},   // a line without "=" never matches
      {"List", "empty", ""},          // an empty value is not the default
      {"Other", "url", "default"},    // missing section
      {"List", "url=first", "default"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ini.ReadText(c.section, c.key, "default"), c.expected) << c.section << "/" << c.key;
  ini.Close();
}

TEST(IniKeys, WriteTextReplacesInPlaceAppendsAtTheEndAndTakesTheCallersCase) {
  TBigIniFile ini("");
  ini.WriteSectionLines("S", {"a=1", "URL=old", "b=2"});
  ini.WriteSectionLines("T", {"t=1"});
  ini.WriteText("S", "url", "new");
  ini.WriteText("s", "c", "3");
  ini.WriteText("New", "n", "1");
  EXPECT_EQ(AllLines(ini),
            (Lines{"[S]", "a=1", "url=new", "b=2", "c=3", "", "[T]", "t=1", "", "[New]", "n=1", ""}));
  ini.Close();
}

TEST(IniKeys, WritingAnEqualLineChangesNothing) {
  test::TempFolder dir;
  dir.Write("t.ini", "[S]\r\nk=v\r\n\r\n");
  const auto before = dir.Identity("t.ini");
  TBigIniFile ini(dir.Path("t.ini"));
  ini.WriteText("S", "k", "v");
  ini.WriteSectionLines("S", {"k=v"});
  EXPECT_FALSE(ini.Changed());
  ini.WriteText("S", "K", "v");  // the letter case differs: the line is replaced
  EXPECT_TRUE(ini.Changed());
  ini.Close();
  EXPECT_NE(dir.Identity("t.ini"), before);

  test::TempFolder other;
  other.Write("t.ini", "[S]\nk=v\n");
  const auto stamp = other.Identity("t.ini");
  TBigIniFile same(other.Path("t.ini"));
  same.WriteText("s", "k", "v");
  same.Close();
  EXPECT_EQ(other.Identity("t.ini"), stamp);
  EXPECT_EQ(other.Read("t.ini"), "[S]\nk=v\n");  // not even rewritten in CR LF
}

TEST(IniKeys, WriteTextWithAnEmptyKey) {
  test::TempFolder dir;
  TBigIniFile ini(dir.Path("t.ini"));
  ini.WriteText("S", "k", "v");
  ini.WriteText("T", "k", "v");
  ini.WriteText("S", "", "anything");  // erases the section
  EXPECT_EQ(AllLines(ini), (Lines{"[T]", "k=v", ""}));
  EXPECT_FALSE(dir.Exists("t.ini"));
  ini.WriteText("", "", "");  // saves
  EXPECT_FALSE(ini.Changed());
  EXPECT_EQ(dir.Read("t.ini"), "[T]\r\nk=v\r\n\r\n");
  ini.Close();
}

TEST(IniKeys, StoredLinesFitOneLineOfTheFile) {
  test::TempFolder dir;
  TBigIniFile ini(dir.Path("t.ini"));
  ini.WriteText("S", "k", std::string(300, 'v'));
  ini.WriteText("S", "u", std::string(251, 'v') + "\xE2\x82\xAC");  // 3-byte sequence at 254
  ini.WriteText("S", "inject", "a\r\n[Evil]\nx=1");
  EXPECT_EQ(ini.ReadText("S", "k", "").size(), 253u);
  EXPECT_EQ(ini.ReadText("S", "u", ""), std::string(251, 'v'));
  ini.Close();
  TBigIniFile back(dir.Path("t.ini"));
  EXPECT_EQ(back.ReadText("S", "inject", ""), "a  [Evil] x=1");
  Lines names;
  back.ReadSectionNames(names);
  EXPECT_EQ(names, Lines{"S"});
  back.Close();
}

TEST(IniNumbers, ReadNumberForms) {
  struct Case {
    const char* text;
    int32_t expected;  // 99 is the default
  } cases[] = {
      {"12", 12},        {" 12", 12},        {"12 ", 99},      {"+5", 5},
      {"-5", -5},        {"0x1F", 31},       {"0X1f", 31},     {"$1F", 31},
      {"x10", 16},       {"X10", 16},        {"-$10", -16},    {"  -x10", -16},
      {" 0x1F", 99},     {"-0x1F", 99},      {"0x", 99},       {"$", 99},
      {"", 99},          {"true", 99},       {"1e3", 99},      {"12a", 99},
      {"2147483647", 2147483647},            {"2147483648", 99},
      {"-2147483648", -2147483647 - 1},      {"-2147483649", 99},
      {"0x7FFFFFFF", 2147483647},            {"0x80000000", 99},
      {"00000000000000000042", 42},
  };
  for (const auto& c : cases) {
    TBigIniFile ini("");
    ini.WriteText("S", "n", c.text);
    EXPECT_EQ(ini.ReadNumber("S", "n", 99), c.expected) << '"' << c.text << '"';
    ini.Close();
  }
}

TEST(IniNumbers, FlagsAndNumbersAreWrittenAsText) {
  TBigIniFile ini("");
  ini.WriteNumber("S", "neg", -42);
  ini.WriteFlag("S", "on", true);
  ini.WriteFlag("S", "off", false);
  ini.WriteText("S", "word", "true");
  ini.WriteText("S", "minus", "-1");
  EXPECT_EQ(AllLines(ini), (Lines{"[S]", "neg=-42", "on=1", "off=0", "word=true", "minus=-1", ""}));
  EXPECT_TRUE(ini.ReadFlag("S", "on", false));
  EXPECT_FALSE(ini.ReadFlag("S", "off", true));
  EXPECT_TRUE(ini.ReadFlag("S", "minus", false));
  EXPECT_TRUE(ini.ReadFlag("S", "word", true));  // not a number: the default
  EXPECT_FALSE(ini.ReadFlag("S", "word", false));
  EXPECT_TRUE(ini.ReadFlag("S", "missing", true));
  ini.Close();
}

TEST(IniColours, ReadAndWrite) {
  TBiggerIniFile ini("");
  ini.WriteColour("D", "border", 12632256);
  ini.WriteColour("D", "red", 255);
  EXPECT_EQ(AllLines(ini), (Lines{"[D]", "border=00C0C0C0", "red=000000FF", ""}));
  EXPECT_EQ(ini.ReadColour("D", "border", 0), 12632256u);
  EXPECT_EQ(ini.ReadColour("D", "missing", 0x00FFFFFF), 0x00FFFFFFu);
  ini.WriteText("D", "lower", "c0c0c0");
  EXPECT_EQ(ini.ReadColour("D", "lower", 0), 0xC0C0C0u);
  for (const char* bad : {"", "xyz", "$FF", "0xFF", " FF", "1FFFFFFFF"}) {
    ini.WriteText("D", "bad", bad);
    EXPECT_THROW(ini.ReadColour("D", "bad", 0), ConversionError) << '"' << bad << '"';
  }
  try {
    ini.WriteText("D", "bad", "blue");
    ini.ReadColour("D", "bad", 0);
  } catch (const ConversionError& e) {
    EXPECT_NE(std::string(e.what()).find("blue"), std::string::npos) << e.what();
  }
  ini.Close();
}

TEST(IniLists, KeyListsSectionLinesAndNames) {
  TBigIniFile ini("");
  ini.WriteSectionLines("S", {"a=1", "plain", "b=", "=x"});
  ini.DropKey("Empty", "nothing");  // creates an empty section in memory only

  Lines keys{"kept"};
  ini.ReadKeyList("s", keys);
  EXPECT_EQ(keys, (Lines{"kept", "a", "", "b", ""}));
  ini.ReadKeyList("missing", keys);
  EXPECT_EQ(keys.size(), 5u);

  Lines lines{"kept"};
  ini.ReadSectionLines("S", lines);
  EXPECT_EQ(lines, (Lines{"kept", "a=1", "plain", "b=", "=x"}));

  Lines names{"replaced"};
  ini.ReadSectionNames(names);
  EXPECT_EQ(names, (Lines{"S", "Empty"}));
  EXPECT_EQ(AllLines(ini), (Lines{"[S]", "a=1", "plain", "b=", "=x", ""}));
  ini.Close();
}

TEST(IniLists, WriteSectionLinesChangesOnlyWhatDiffers) {
  struct Step {
    Lines source;
    bool changes;
  } steps[] = {
      {{"a", "b"}, false},
      {{"a", "c"}, true},
      {{"a"}, true},
      {{}, true},
      {{}, true},  // the emptied section was not written, so it is appended anew
  };
  test::TempFolder dir;
  dir.Write("t.ini", "[L]\r\na\r\nb\r\n\r\n");
  for (const auto& s : steps) {
    TBigIniFile store(dir.Path("t.ini"));
    store.WriteSectionLines("L", s.source);
    EXPECT_EQ(store.Changed(), s.changes) << s.source.size();
    Lines held;
    store.ReadSectionLines("L", held);
    EXPECT_EQ(held, s.source);
    store.Close();
  }
}

TEST(IniLists, DroppingKeysAndSections) {
  test::TempFolder dir;
  dir.Write("t.ini", "[A]\r\nk=1\r\nk=2\r\n[B]\r\nb=1\r\n");
  TBigIniFile ini(dir.Path("t.ini"));
  ini.DropKey("A", "K");  // the first occurrence only
  EXPECT_EQ(ini.ReadText("A", "k", ""), "2");
  ini.DropKey("A", "k");
  EXPECT_TRUE(ini.Changed());
  ini.DropSection("b");
  ini.Close();
  EXPECT_EQ(dir.Read("t.ini"), "");  // a section whose lines are all gone is not written

  TBigIniFile again(dir.Path("t.ini"));
  again.DropSection("nothing");
  again.DropKey("nothing", "k");
  EXPECT_FALSE(again.Changed());
  again.Close();
}

TEST(IniFiles, SavingWritesCrLfSectionsWithLinesOnly) {
  test::TempFolder dir;
  dir.Write("t.ini", "before=1\n\n[A]\n\na=1\n[Empty]\n[B]\nb=1");
  TBigIniFile ini(dir.Path("t.ini"));
  ini.WriteText("B", "c", "2");
  ini.Close();
  EXPECT_EQ(dir.Read("t.ini"), "[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\nc=2\r\n\r\n");
}

TEST(IniFiles, AMissingFileReadsEmptyAndIsNotCreated) {
  test::TempFolder dir;
  TBigIniFile ini(dir.Path("none.ini"));
  EXPECT_EQ(ini.ReadText("S", "k", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadNumber("S", "k", 7), 7);
  ini.Close();
  EXPECT_FALSE(dir.Exists("none.ini"));
}

TEST(IniFiles, APathLongerThan255IsRefused) {
  test::TempFolder dir;
  std::string path = dir.Path(std::string(300 - dir.Root().size(), 'p'));
  EXPECT_THROW(TBigIniFile ini(path), IoError);
  std::string fits = dir.Root() + "/" + std::string(255 - dir.Root().size() - 1, 'q');
  ASSERT_EQ(fits.size(), 255u);
  TBigIniFile ok(fits);
  ok.Close();
}

TEST(IniFiles, FailuresCarryTheSystemsTextAndLeaveFilesAlone) {
  test::TempFolder dir;
  // A folder where the file should be.
  std::filesystem::create_directories(dir.Path("folder.ini"));
  try {
    TBigIniFile ini(dir.Path("folder.ini"));
    ADD_FAILURE() << "a folder opened as a file";
  } catch (const IoError& e) {
    EXPECT_NE(std::string(e.what()).find("Is a directory"), std::string::npos) << e.what();
  }
  // A file in a folder that does not exist: the error comes at the close.
  TBigIniFile nowhere(dir.Path("missing/t.ini"));
  nowhere.WriteText("S", "k", "v");
  try {
    nowhere.Close();
    ADD_FAILURE() << "wrote into a missing folder";
  } catch (const IoError& e) {
    EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos)
        << e.what();
  }
}

// Writes a changed store under a file size limit, which makes the write fail halfway even
// for root; exits 0 when the close failed with the system's text, the old file is exactly as
// it was and no temporary file is left.
[[noreturn]] void WriteUnderSizeLimit() {
  test::TempFolder dir;
  const std::string old = "[S]\r\nk=old\r\n\r\n";
  dir.Write("t.ini", old);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{64, 64};
  setrlimit(RLIMIT_FSIZE, &limit);
  TBigIniFile ini(dir.Path("t.ini"));
  for (int i = 0; i < 100; ++i) ini.WriteText("S", "k" + std::to_string(i), "value");
  bool failed = false;
  try {
    ini.Close();
  } catch (const IoError& e) {
    failed = std::string(e.what()).find("too large") != std::string::npos;
  }
  size_t files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Root())) files += !e.is_directory();
  std::exit(failed && dir.Read("t.ini") == old && files == 1 ? 0 : 1);
}

TEST(IniFiles, AReadOnlyFileIsNotReplaced) {
  test::TempFolder dir;
  dir.Write("ro.ini", "[s]\r\nk=old\r\n");
  ASSERT_EQ(::chmod(dir.Path("ro.ini").c_str(), 0444), 0);
  // Whole-file writes and the store's close both refuse, with the usual message.
  try {
    WriteFileAtomically(dir.Path("ro.ini"), "new");
    ADD_FAILURE() << "written";
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot write " + dir.Path("ro.ini"), 0), 0u) << e.what();
  }
  TBigIniFile ini(dir.Path("ro.ini"));
  ini.WriteText("s", "k", "new");
  EXPECT_THROW(ini.Close(), IoError);
  EXPECT_EQ(dir.Read("ro.ini"), "[s]\r\nk=old\r\n");
  ASSERT_EQ(::chmod(dir.Path("ro.ini").c_str(), 0644), 0);  // writable again: the change lands
  ini.Close();
  EXPECT_NE(dir.Read("ro.ini").find("k=new\r\n"), std::string::npos) << dir.Read("ro.ini");
}

TEST(IniFiles, AFailedWriteLeavesTheOldFileExactlyAsItWas) {
  EXPECT_EXIT(WriteUnderSizeLimit(), ::testing::ExitedWithCode(0), "");
}

// A store keeps other processes' stores on its file waiting from its read to its write. The
// other process is played by a QLockFile of this one on the same lock file.
TEST(IniFiles, AnOpenStoreKeepsOtherWritersOutUntilItCloses) {
  test::TempFolder dir;
  dir.Write("t.ini", "[s]\r\nk=old\r\n");
  const auto oldWait = TStoreLock::Wait();
  TStoreLock::SetWait(std::chrono::milliseconds(200));
  {
    QLockFile other(QString::fromStdString(TStoreLock::LockFileOf(dir.Path("t.ini"))));
    ASSERT_TRUE(other.tryLock(0));
    try {
      TBigIniFile ini(dir.Path("t.ini"));
      ADD_FAILURE() << "opened while another holds it";
    } catch (const IoError& e) {
      EXPECT_NE(std::string(e.what()).find("another Quorvex Summit process is changing it"),
                std::string::npos)
          << e.what();
    }
  }
  // Stores of this process nest; the lock file goes when the last one closes.
  TBigIniFile outer(dir.Path("t.ini"));
  TBigIniFile inner(dir.Path("t.ini"));
  inner.WriteText("s", "k", "new");
  inner.Close();
  EXPECT_TRUE(dir.Exists(".t.ini.lock"));
  outer.Close();
  EXPECT_FALSE(dir.Exists(".t.ini.lock"));
  // A lock left by a process that is gone is taken over at once.
  dir.Write(".t.ini.lock", "2147483646\nquorvex-summit\n" + QSysInfo::machineHostName().toStdString() + "\n");
  TBigIniFile again(dir.Path("t.ini"));
  EXPECT_EQ(again.ReadText("s", "k", ""), "new");
  again.Close();
  TStoreLock::SetWait(oldWait);
}

}  // namespace
}  // namespace qs

// Byte-level text helpers.
#include "app/text.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

TEST(Text, CutsNeverSplitAUtf8Sequence) {
  const std::string e = "\xC3\xA9";          // 2 bytes
  const std::string euro = "\xE2\x82\xAC";   // 3 bytes
  const std::string clef = "\xF0\x9D\x84\x9E";  // 4 bytes
  struct Case {
    std::string text;
    size_t limit;
    size_t cut;
  } cases[] = {
      {"abc", 5, 3},
      {"abcdef", 3, 3},
      {"ab" + e, 3, 2},
      {"ab" + e, 4, 4},
      {"a" + euro, 2, 1},
      {"a" + euro, 3, 1},
      {"a" + euro + "b", 4, 4},
      {"a" + clef, 4, 1},
      {"a" + clef + "z", 5, 5},
      {"ab\x80\x80\x80\x80z", 4, 4},  // stray continuation bytes are cut as bytes
      {"\xC3", 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8CutLength(c.text, c.limit), c.cut) << c.limit;
}

TEST(Text, CaseIsIgnoredForAsciiLettersOnly) {
  EXPECT_TRUE(EqualsIgnoreCase("LiSt", "list"));
  EXPECT_FALSE(EqualsIgnoreCase("\xC3\x89", "\xC3\xA9"));
  EXPECT_FALSE(EqualsIgnoreCase("list", "lists"));
  EXPECT_TRUE(LessIgnoreCase("apple", "Banana"));
  EXPECT_FALSE(LessIgnoreCase("B", "a"));
}

TEST(Text, ReplaceAllIsCaseSensitive) {
  EXPECT_EQ(ReplaceAll("/a/B/", "/", "_"), "_a_B_");
  EXPECT_EQ(ReplaceAll("$url $URL $url", "$url", "x"), "x $URL x");
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

}  // namespace
}  // namespace qs

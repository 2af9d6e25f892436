// IndexNow keys: the rule engines apply, generation, and the key file.
#include "indexnow/indexnowkey.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

TEST(IndexNowKey, TheEnginesRuleOnLengthAndCharacters) {
  const struct {
    std::string key;
    bool valid;
  } cases[] = {
      {std::string(7, 'a'), false},   {std::string(8, 'a'), true},
      {std::string(128, 'Z'), true},  {std::string(129, 'Z'), false},
      {"abc-DEF-0123", true},         {"abc_def-0123", false},
      {"abcdefgh ", false},           {"abcdéfgh", false},
      {"abc/defgh", false},           {"", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IndexNowKeyProblem(c.key).empty(), c.valid) << c.key << ": " << IndexNowKeyProblem(c.key);
}

TEST(IndexNowKey, GeneratedKeysAreValidHexadecimalAndDiffer) {
  const std::string a = GenerateIndexNowKey(), b = GenerateIndexNowKey();
  EXPECT_EQ(a.size(), 32u);
  EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), std::string::npos) << a;
  EXPECT_EQ(IndexNowKeyProblem(a), "");
  EXPECT_NE(a, b);
}

TEST(IndexNowKey, TheKeyFileHoldsTheKeyAlone) {
  EXPECT_EQ(IndexNowKeyFileName("abc12345"), "abc12345.txt");
  EXPECT_EQ(IndexNowKeyFileText("abc12345"), "abc12345");
  EXPECT_TRUE(IndexNowKeyFileMatches("abc12345", "abc12345"));
  EXPECT_TRUE(IndexNowKeyFileMatches("  abc12345\r\n", "abc12345"));
  EXPECT_FALSE(IndexNowKeyFileMatches("abc123456", "abc12345"));
  EXPECT_FALSE(IndexNowKeyFileMatches("ABC12345", "abc12345"));
  EXPECT_FALSE(IndexNowKeyFileMatches("<html>404</html>", "abc12345"));
  EXPECT_FALSE(IndexNowKeyFileMatches("", ""));
}

}  // namespace
}  // namespace qs

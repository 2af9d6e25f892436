// The page expression evaluator: a table of expressions and the texts they give, failures
// included.
#include "ranking/zparser.h"

#include <gtest/gtest.h>

#include <string>

#include "app/text.h"

namespace qs {
namespace {

struct ExpressionCase {
  std::string expression;
  std::string result;
};

class RankExpression : public testing::TestWithParam<ExpressionCase> {};

TEST_P(RankExpression, GivesItsText) {
  EXPECT_EQ(PageExpressionValue(GetParam().expression), GetParam().result)
      << GetParam().expression;
}

const std::string kNoNumber = " is not a valid floating point value";

INSTANTIATE_TEST_SUITE_P(
    RankTable, RankExpression,
    testing::Values(
        // numbers and blanks
        ExpressionCase{"0", "0"}, ExpressionCase{"1.5", "1.5"}, ExpressionCase{"  1 + 2 ", "3"},
        ExpressionCase{"1e3", "1000"}, ExpressionCase{".5*4", "2"},
        ExpressionCase{"0.1+0.2", "0.3"}, ExpressionCase{"1e20*1e20", "1e+40"},
        // grouping to the right, as the engine data expects
        ExpressionCase{"10-5-2", "7"}, ExpressionCase{"10/4/2", "5"},
        ExpressionCase{"2^3^2", "512"}, ExpressionCase{"2*3+4", "10"},
        ExpressionCase{"2+3*4", "14"}, ExpressionCase{"2*3-4*5", "-14"},
        // parentheses
        ExpressionCase{"(2+3)*4", "20"}, ExpressionCase{"((2))", "2"},
        ExpressionCase{"(1-1)*10+1", "1"}, ExpressionCase{"(3-1)*10+1", "21"},
        ExpressionCase{"2*(3+4)+1", "15"}, ExpressionCase{"2^(1+1)*3", "12"},
        ExpressionCase{"(1)-(2)", "-1"}, ExpressionCase{"((1+1)*(2+2))/(8)", "1"},
        // signs
        ExpressionCase{"-5", "-5"}, ExpressionCase{"5*-3", "-15"},
        ExpressionCase{"2^-1", "0.5"}, ExpressionCase{"+4", "4"},
        ExpressionCase{"(1)--2", "3"},
        // a leading sign rules its operator out
        ExpressionCase{"-2-3", "'-2-3'" + kNoNumber},
        ExpressionCase{"-(1)", "unknown function -(1)"},
        // functions, any letter case
        ExpressionCase{"sin(0)", "0"}, ExpressionCase{"COS(0)", "1"},
        ExpressionCase{"tan(0)", "0"}, ExpressionCase{"arctan(1)*4", "3.14159265358979"},
        ExpressionCase{"log(1000)", "3"}, ExpressionCase{"ln(exp(2))", "2"},
        ExpressionCase{"exp(0)", "1"}, ExpressionCase{"Sqrt(16)", "4"},
        ExpressionCase{"sqrt(2)", "1.4142135623731"}, ExpressionCase{"sin(0)+1", "1"},
        ExpressionCase{"2*sqrt(sqrt(16))", "4"},
        // failures
        ExpressionCase{"", "syntax error"}, ExpressionCase{"1+", "syntax error"},
        ExpressionCase{"()", "syntax error"}, ExpressionCase{"(1+2", "missing ')'"},
        ExpressionCase{"sin(1+(2)", "missing ')'"}, ExpressionCase{"(1)2", "invalid operation (1)2"},
        ExpressionCase{"sin(1)x", "invalid operation sin(1)x"},
        ExpressionCase{"foo(1)", "unknown function foo(1)"},
        ExpressionCase{"2+foo(1)", "unknown function foo(1)"},
        ExpressionCase{"abc", "'abc'" + kNoNumber}, ExpressionCase{"inf", "'inf'" + kNoNumber},
        ExpressionCase{"nan", "'nan'" + kNoNumber}, ExpressionCase{"0x10", "'0x10'" + kNoNumber},
        ExpressionCase{"1e5000", "'1e5000'" + kNoNumber}, ExpressionCase{"1)", "'1)'" + kNoNumber},
        ExpressionCase{"$curpage", "'$curpage'" + kNoNumber},
        ExpressionCase{"1/0", "division by zero"}, ExpressionCase{"0/0", "division by zero"},
        ExpressionCase{"1/(2-2)", "division by zero"},
        ExpressionCase{"log(0)", "logarithm of a non-positive number"},
        ExpressionCase{"ln(-1)", "logarithm of a non-positive number"},
        ExpressionCase{"sqrt(-4)", "square root of a negative number"},
        ExpressionCase{"0^2", "power of a non-positive number"},
        ExpressionCase{"(-2)^2", "power of a non-positive number"},
        ExpressionCase{"exp(100000)", "floating point overflow"},
        ExpressionCase{"1e4000*1e4000", "floating point overflow"}));

TEST(RankExpression, PageExpressionsOfTheEngineDataPerPage) {
  struct {
    std::string expression;
    std::string page1, page2, page3;
  } cases[] = {
      {"$curpage*10-10", "0", "10", "20"},
      {"($curpage-1)*10+1", "1", "11", "21"},
      {"$curpage", "1", "2", "3"},
  };
  for (const auto& c : cases) {
    const std::string results[] = {c.page1, c.page2, c.page3};
    for (int page = 1; page <= 3; ++page)
      EXPECT_EQ(PageExpressionValue(ReplaceAll(c.expression, "$curpage", std::to_string(page))),
                results[page - 1])
          << c.expression << " page " << page;
  }
}

TEST(RankExpression, NestingHasABound) {
  const auto nested = [](int depth, const std::string& core) {
    return std::string(static_cast<size_t>(depth), '(') + core +
           std::string(static_cast<size_t>(depth), ')');
  };
  EXPECT_EQ(PageExpressionValue(nested(100, "1+1")), "2");
  EXPECT_EQ(PageExpressionValue(nested(5000, "1")), "expression too deeply nested");
  std::string chain = "1";
  for (int i = 0; i < 5000; ++i) chain += "+1";
  EXPECT_EQ(PageExpressionValue(chain), "expression too deeply nested");
  EXPECT_THROW(EvaluateExpression(nested(5000, "1")), EparserError);
}

TEST(RankExpression, FailuresAreEparserErrors) {
  for (const char* e : {"", "1/0", "x", "(1", "f(1)", "(1)2", "ln(0)"})
    EXPECT_THROW(EvaluateExpression(e), EparserError) << e;
  EXPECT_EQ(EvaluateExpression("1.5*2"), 3.0L);
}

}  // namespace
}  // namespace qs

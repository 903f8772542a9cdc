// The expression evaluator: (expression text) -> (error code, result text).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/expr.h"
#include "engine/number_text.h"
#include "engine/sjis.h"

namespace kubrix {
namespace {

// The variables every case sees; each case gets a fresh store.
VarStore standardVars() {
  VarStore v;
  v.add("", "a", "1");
  v.add("", "b", "2");
  v.add("", "x", "0.1");
  v.add("", "s", "12.5");
  v.add("", "neg", "-12.7");
  v.add("", "y", "1e3");
  v.add("", "e", "");             // declared without a value
  v.add("", "t", "abc");          // not a number
  v.add("", "sum", "1+2");        // an initial value is text, never evaluated
  v.add("", "j", utf8ToSjis("日本語"));  // 6 bytes
  v.add("", "pi", "3");           // lower-case pi is an ordinary name
  v.add("", "_u", "7");
  v.add("", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "5");  // 31 characters
  return v;
}

struct Outcome {
  int code;
  std::string text;
};

Outcome eval(std::string_view text) {
  const VarStore vars = standardVars();
  Random rng;
  Outcome o;
  o.code = evaluate(text, vars, rng, o.text);
  return o;
}

struct ExprCase {
  const char* expr;
  int code;
  const char* result;
};

void checkTable(const ExprCase* begin, const ExprCase* end) {
  for (const ExprCase* c = begin; c != end; ++c) {
    const Outcome o = eval(c->expr);
    EXPECT_EQ(o.code, c->code) << "expression: " << c->expr;
    EXPECT_EQ(o.text, c->result) << "expression: " << c->expr;
  }
}

TEST(Expr, OperatorPrecedenceAndAssociativity) {
  const ExprCase cases[] = {
      {"1+2*3", 0, "7"},
      {"(1+2)*3", 0, "9"},
      {"2^3^2", 0, "64"},  // left-associative
      {"2*3^2", 0, "18"},
      {"-2^2", 0, "-4"},  // unary minus binds looser than ^
      {"-2*3", 0, "-6"},
      {"-2+3", 0, "1"},
      {"2*(-3)", 0, "-6"},
      {"-(-3)", 0, "3"},
      {"10-4-3", 0, "3"},
      {"12/2/3", 0, "2"},
      {"1||0&&0", 0, "1"},  // && binds like *, || like +
      {"0&&1||1", 0, "1"},
      {"1+1==2", 0, "1"},  // comparisons bind loosest
      {"2>1==1", 0, "1"},
      {"1<2<3", 0, "1"},
      {"!0+1", 0, "2"},     // a function binds tighter than every operator
      {"SIN(x)^2", 0, "0.00996671107937919"},
      {"(1)AND(0)", 0, "0"},
      {"(1)and(1)", 0, "1"},
      {"(0)Or(1)", 0, "1"},
      {"1/3*3", 0, "0.999999999999999"},  // the intermediate is rounded to 15 digits
      {"2/3*3", 0, "2"},
      {"x+x+x", 0, "0.3"},
  };
  checkTable(std::begin(cases), std::end(cases));
}

TEST(Expr, ComparisonsAndLogicUseTheEpsilon) {
  const ExprCase cases[] = {
      {"a=b", 0, "0"},   {"a=a", 0, "1"},       {"a==1", 0, "1"},     {"a<>b", 0, "1"},
      {"a><b", 0, "1"},  {"a!=a", 0, "0"},      {"1=<2", 0, "1"},     {"2=>1", 0, "1"},
      {"2>=2", 0, "1"},  {"2>2", 0, "0"},       {"2<=2", 0, "1"},     {"2<2", 0, "0"},
      {"1e-15==0", 0, "1"}, {"1e-15>0", 0, "0"}, {"1e-13>0", 0, "1"}, {"0.1+0.2==0.3", 0, "1"},
      {"0.5&&1", 0, "0"},   {"0.9||0", 0, "0"},  {"(0-1.5)&&1", 0, "1"}, {"NOT(0.5)", 0, "1"},
      {"NOT(2)", 0, "0"},   {"!(a>b)", 0, "1"},  {"!(b>a)", 0, "0"},
  };
  checkTable(std::begin(cases), std::end(cases));
}

TEST(Expr, FunctionsAndTheirDomains) {
  const ExprCase cases[] = {
      {"SIN(PI/2)", 0, "1"},
      {"SIN(0)", 0, "0"},
      {"sin(0)", 0, "0"},  // function names are case-insensitive
      {"COS(0)", 0, "1"},
      {"TAN(PI/4)", 0, "0.999999999999999"},  // PI/4 is rounded to 15 digits before TAN
      {"TAN(PI/2)", 12, ""},
      {"ASIN(1)", 0, "1.5707963267949"},
      {"ACOS(0-1)", 0, "3.14159265358979"},
      {"ATAN(1)", 0, "0.785398163397448"},
      {"SQRT(16)", 0, "4"},
      {"Sqrt(2)", 0, "1.4142135623731"},
      {"SQRT(0-1)", 12, ""},
      {"SQRT(0-1e-15)", 0, "0"},  // within 1e-14 of zero
      {"SQRT(1e-15)", 0, "0"},
      {"EXP(1)", 0, "2.71828182845905"},
      {"EXP(100000)", 0, "INF"},
      {"LOG(1)", 0, "0"},
      {"LOG(0)", 12, ""},
      {"LOG(1e-15)", 12, ""},
      {"LOG10(1000)", 0, "3"},
      {"LOG10(0)", 12, ""},
      {"LOG2(8)", 0, "3"},
      {"LOG2(0-1)", 12, ""},
      {"ABS(0-3)", 0, "3"},
      {"INT(0-2.7)", 0, "-2"},
      {"INT(2.7)", 0, "2"},
      {"FRAC(0-2.75)", 0, "-0.75"},
      {"SINH(1)", 0, "1.1752011936438"},
      {"COSH(0)", 0, "1"},
      {"TANH(1)", 0, "0.761594155955765"},
      {"INV(PI/2)", 0, "-1.5707963267949"},  // tan taken as 0 where cos vanishes
      {"SIN(9223372036854775808)", 0, "0"},  // 2^63 and beyond
      {"COS(1e19)", 0, "0"},
      {"ATOF(s)", 0, "12.5"},
      {"ATOI(neg)", 0, "-12"},
      {"ATOF(y)", 0, "1000"},
      {"ATOF(12)", 13, ""},
      {"ATOF(zz)", 13, ""},
      {"ATOF(t)", 12, ""},
      {"ATOI(e)", 12, ""},
      {"LENGTH(s)", 0, "4"},
      {"LENGTH(j)", 0, "6"},  // double-byte characters count 2
      {"LENGTH(e)", 0, "0"},
      {"LENGTH(zz)", 13, ""},
      {"ABS-1", 10, ""},  // a binary "-" after a function name: the function has no value
  };
  checkTable(std::begin(cases), std::end(cases));
}

TEST(Expr, PowersDivisionAndRemainder) {
  const ExprCase cases[] = {
      {"0^0", 0, "1"},           {"0^2", 0, "0"},         {"0^(0-1)", 0, "INF"},
      {"2^(0-2)", 0, "0.25"},    {"(0-2)^3", 0, "-8"},    {"2^0.5", 0, "1.4142135623731"},
      {"10^400", 0, "1E400"},    {"2^99999", 0, "INF"},   {"(0-2)^99999", 0, "-INF"},
      {"1/0", 11, ""},           {"5%0", 11, ""},         {"1/1e-15", 11, ""},
      {"(0-7)%3", 0, "-1"},      {"7%(0-3)", 0, "1"},     {"5.5%2", 0, "1.5"},
      {"-7%3", 0, "-1"},
  };
  checkTable(std::begin(cases), std::end(cases));
}

TEST(Expr, OperandResolution) {
  const ExprCase cases[] = {
      {"x", 0, "0.1"},        // one token: the formatted value
      {"1e3", 0, "1000"},
      {"0.10", 0, "0.1"},
      {".5", 0, "0.5"},
      {"y", 0, "1000"},
      {"PI", 0, "3.14159265358979"},
      {"-PI", 0, "-3.14159265358979"},
      {"pi", 0, "3"},
      {"_u*2", 0, "14"},
      {"zz", 13, ""},         // undefined
      {"e", 13, ""},          // empty value
      {"e+1", 13, ""},
      {"t", 13, ""},          // not a number
      {"sum", 13, ""},
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa+1", 0, "6"},  // 31 characters is still a name
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 2, ""},    // 32 is too long
      {"11111111111111111111111111111111", 0, "1.11111111111111E31"},  // 32 characters
      {"111111111111111111111111111111111", 2, ""},                    // 33
      {"EXP(100000)*0", 13, ""},     // "INF" used again is an undefined name
      {"-EXP(100000)", 13, ""},
      {"((0-2)^99999)*1", 2, ""},    // "-INF" does not read as a number
  };
  checkTable(std::begin(cases), std::end(cases));
}

TEST(Expr, MalformedSequences) {
  const ExprCase cases[] = {
      {"2*-3", 10, ""},   // "-" after "*" is binary and lacks its left operand
      {"+5", 10, ""},
      {"1+", 10, ""},
      {"3--2", 10, ""},
      {"a==", 10, ""},
      {"=b", 10, ""},
      {"-", 13, ""},      // a lone operator is resolved as an operand
      {"+", 13, ""},
      {"(1+2", 0, "3"},   // a missing ")" is not reported
      {"2*(1+2", 0, "2"},  // ... but drops the operators outside the open group
      {"1+2)", 3, ""},    // an extra ")" is
      {"1)", 3, ""},
      {"2a", 0, "2"},     // two operands: the first one's own text
      {"2 3", 0, "2"},
      {"2    3", 0, "2"},
      {"2\b3", 0, "2"},
      {"1.50 2", 0, "1.50"},
      {"a 2", 0, "a"},
      {"1.2.3", 0, "1.2"},
      {"1e5.5", 0, "1e5"},
      {"", 0, ""},
      {"()", 0, ""},
      {" 1 + 2 ", 0, "3"},
      {"2e", 2, ""},      // exponent mark without sign or digit
      {"2Ea", 2, ""},
      {"1e+", 2, ""},     // sign without digits: the literal cannot be read
      {"~1", 2, ""},
      {"1,2", 2, ""},
      {"$1", 2, ""},
      {"1|2", 2, ""},
      {"1&2", 2, ""},
      {"1}+2", 0, "1"},   // the first end mark ends the expression
  };
  checkTable(std::begin(cases), std::end(cases));
  // A double-byte character starts no token, so a Japanese name cannot be used in an expression.
  EXPECT_EQ(eval(utf8ToSjis("日本+1")).code, 2);
}

TEST(Expr, TableLimitsOf256Entries) {
  auto sum = [](int operands) {
    std::string s = "1";
    for (int i = 1; i < operands; ++i) s += "+1";
    return s;
  };
  // n operands and n - 1 operators fill 2n - 1 postfix entries.
  EXPECT_EQ(eval(sum(128)).text, "128");
  EXPECT_EQ(eval(sum(128)).code, 0);
  EXPECT_EQ(eval(sum(129)).code, 3);
  // The operator stack holds the bottom "(" and 255 more pending operators.
  EXPECT_EQ(eval(std::string(255, '(') + "1").text, "1");
  EXPECT_EQ(eval(std::string(256, '(') + "1").code, 3);
  std::string nested = "1";
  for (int i = 0; i < 254; ++i) nested = "(" + nested + ")";
  EXPECT_EQ(eval(nested).text, "1");
}

TEST(Expr, NotANumberIsAResultNotAnError) {
  for (const char* e : {"ASIN(2)", "ACOS(0-2)", "(0-8)^(1/3)"}) {
    const Outcome o = eval(e);
    EXPECT_EQ(o.code, 0) << e;
    EXPECT_TRUE(o.text == "NAN" || o.text == "-NAN") << e << " gave " << o.text;
  }
}

TEST(Expr, InverseInvoluteFindsTheAngle) {
  for (const double angle : {0.3, 0.05, 1.2}) {
    const Outcome o = eval("AINV(INV(" + numberText(angle) + "))");
    ASSERT_EQ(o.code, 0);
    long double r;
    ASSERT_TRUE(parseDecimal(o.text, r));
    // Digit by digit to 1e-12 degree: a few 1e-14 radian.
    EXPECT_NEAR(static_cast<double>(r), angle, 5e-14) << o.text;
  }
  // The 64-bit involute is exactly 0 below about 1e-6 degree, so the search for 0 stops there.
  long double zero;
  ASSERT_TRUE(parseDecimal(eval("AINV(0)").text, zero));
  EXPECT_NEAR(static_cast<double>(zero), 0.0, 2e-8);
}

TEST(Expr, RandomNumbersAreInRangeAndRepeatFromTheStartSeed) {
  const VarStore vars = standardVars();
  Random first, second;
  for (int i = 0; i < 200; ++i) {
    std::string r1, r2, r3;
    ASSERT_EQ(evaluate("RAND(10)", vars, first, r1), 0);
    ASSERT_EQ(evaluate("RAND(10)", vars, second, r2), 0);
    EXPECT_EQ(r1, r2);  // a fixed start seed
    long double v;
    ASSERT_TRUE(parseDecimal(r1, v));
    EXPECT_TRUE(v >= 0 && v < 10) << r1;
    ASSERT_EQ(evaluate("RAND(0-5)", vars, first, r3), 0);  // x below 1e-14 is taken as 1
    ASSERT_TRUE(parseDecimal(r3, v));
    EXPECT_TRUE(v >= 0 && v < 1) << r3;
    evaluate("RAND(0-5)", vars, second, r3);
  }
}

TEST(Expr, CompiledExpressionSeesLaterStoreChanges) {
  VarStore vars = standardVars();
  Random rng;
  std::string r;
  const CompiledExpr twice("a*2");
  ASSERT_EQ(evaluate(twice, vars, rng, r), 0);
  EXPECT_EQ(r, "2");
  vars.setValue(static_cast<size_t>(vars.find("a")), "5");
  ASSERT_EQ(evaluate(twice, vars, rng, r), 0);
  EXPECT_EQ(r, "10");
  vars.setValue(static_cast<size_t>(vars.find("a")), "abc");
  EXPECT_EQ(evaluate(twice, vars, rng, r), 13);
  EXPECT_EQ(r, "");  // no partial result with an error

  const CompiledExpr later("late+1");
  EXPECT_EQ(evaluate(later, vars, rng, r), 13);
  vars.add("", "late", "41");
  ASSERT_EQ(evaluate(later, vars, rng, r), 0);
  EXPECT_EQ(r, "42");
}

TEST(Expr, ErrorNames) {
  const std::pair<int, const char*> names[] = {
      {1, "MemoryOver"},      {2, "Syntax Error"},        {3, "Analyse Error"},  {10, "Coding Error"},
      {11, "Zero Divided Error"}, {12, "Calc Error"},     {13, "Variable Error"},
  };
  for (const auto& [code, name] : names) EXPECT_EQ(exprErrorName(code), name) << code;
}

}  // namespace
}  // namespace kubrix

// The number-to-text rule and the readers of decimal and integer text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "engine/number_text.h"

namespace kubrix {
namespace {

struct FormatCase {
  long double value;
  const char* text;
};

TEST(NumberText, WritesFifteenSignificantDigitsInGeneralNotation) {
  const FormatCase cases[] = {
      {0.0L, "0"},
      {-0.0L, "0"},  // zero is written "0", whatever its sign bit
      {1.0L, "1"},
      {-1.0L, "-1"},
      {0.5L, "0.5"},
      {-2.25L, "-2.25"},
      {1.0L / 3, "0.333333333333333"},
      {2.0L / 3, "0.666666666666667"},
      {-2.0L / 3, "-0.666666666666667"},
      {0.1, "0.1"},  // the 64-bit 0.1 is not 0.1, but it rounds to it at 15 digits
      {0.30000000000000004, "0.3"},
      {123456789.123456789L, "123456789.123457"},
      {-0.00012L, "-0.00012"},
      // Fixed down to 0.0001, scientific below.
      {0.0001L, "0.0001"},
      {0.0001, "0.0001"},
      {0.00012345678901234567L, "0.000123456789012346"},
      {0.00001L, "1E-5"},
      {0.00001, "1E-5"},
      {-0.00001L, "-1E-5"},
      {1.5e-7L, "1.5E-7"},
      {1.25e-100L, "1.25E-100"},
      // Fixed up to 15 integer digits, scientific from 10^15.
      {999999999999999.0L, "999999999999999"},
      {999999999999999.4L, "999999999999999"},
      {123456789012345.67L, "123456789012346"},
      {999999999999999.5L, "1E15"},  // rounds up to 16 integer digits
      {1e15L, "1E15"},
      {-1e15L, "-1E15"},
      {1234567890123456.0L, "1.23456789012346E15"},
      {123456789012345678.0L, "1.23456789012346E17"},
      {1e100L, "1E100"},
      {100000000000000.5L, "100000000000001"},
  };
  for (const auto& c : cases) EXPECT_EQ(numberText(c.value), c.text) << "value " << static_cast<double>(c.value);
}

TEST(NumberText, HalvesAtTheFifteenthDigitGoAwayFromZero) {
  // Exactly representable ties: half-even rounding would give ...00E15, ...02E15 and ...34.2.
  EXPECT_EQ(numberText(1000000000000005.0L), "1.00000000000001E15");
  EXPECT_EQ(numberText(1000000000000025.0L), "1.00000000000003E15");
  EXPECT_EQ(numberText(12345678901234.25L), "12345678901234.3");
  EXPECT_EQ(numberText(-12345678901234.25L), "-12345678901234.3");
  EXPECT_EQ(numberText(-1000000000000005.0L), "-1.00000000000001E15");
}

TEST(NumberText, NonFiniteValuesCarrySignBit) {
  const long double inf = std::numeric_limits<long double>::infinity();
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  EXPECT_EQ(numberText(inf), "INF");
  EXPECT_EQ(numberText(-inf), "-INF");
  EXPECT_EQ(numberText(std::copysign(nan, 1.0L)), "NAN");
  EXPECT_EQ(numberText(std::copysign(nan, -1.0L)), "-NAN");
}

TEST(NumberText, ExtremesFitTheTextLimit) {
  const long double extremes[] = {
      std::numeric_limits<long double>::max(),       -std::numeric_limits<long double>::max(),
      std::numeric_limits<long double>::min(),       -std::numeric_limits<long double>::denorm_min(),
      -0.000123456789012345678L,                     -1.23456789012345678e-4000L,
  };
  char buf[kNumberTextMax + 8];
  for (long double v : extremes) {
    const size_t n = formatNumber(v, buf);
    EXPECT_LE(n, kNumberTextMax) << std::string(buf, n);
  }
  EXPECT_EQ(numberText(std::numeric_limits<long double>::max()), "1.18973149535723E4932");
}

TEST(NumberText, WrittenTextReadsBackToItself) {
  // Every intermediate value of the evaluator is written and read again, so the rule must be
  // idempotent: text -> value -> text gives the same text.
  std::mt19937_64 gen(20240611);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int i = 0; i < 20000; ++i) {
    const long double v = static_cast<long double>(mantissa(gen)) * std::pow(10.0L, exponent(gen));
    const std::string t = numberText(v);
    long double back;
    ASSERT_TRUE(parseDecimal(t, back)) << t;
    ASSERT_EQ(numberText(back), t);
  }
}

struct DecimalCase {
  const char* text;
  bool ok;
  long double value;
};

TEST(ParseDecimal, ReadsOnlyCompleteDecimalNumbers) {
  const DecimalCase cases[] = {
      {"1.5", true, 1.5L},     {"-5", true, -5},      {"+5", true, 5},        {".5", true, 0.5L},
      {"5.", true, 5},         {"1E-5", true, 1e-5L}, {"1e+3", true, 1000},   {"1e400", true, 1e400L},
      {"1e-5000", true, 0},    {"", false, 0},        {".", false, 0},        {"-", false, 0},
      {"1e", false, 0},        {"1e+", false, 0},     {"1,5", false, 0},      {"--5", false, 0},
      {"1e5.5", false, 0},     {"0x10", false, 0},    {"$10", false, 0},      {"INF", false, 0},
      {"NAN", false, 0},       {"-INF", false, 0},    {"1e5000", false, 0},   {"12a", false, 0},
  };
  for (const auto& c : cases) {
    long double v = -99;
    EXPECT_EQ(parseDecimal(c.text, v), c.ok) << '"' << c.text << '"';
    if (c.ok) {
      EXPECT_EQ(v, c.value) << '"' << c.text << '"';
    }
  }
}

TEST(ParseDouble, OverflowFailsAndUnderflowGivesZero) {
  double d = -99;
  EXPECT_FALSE(parseDouble("1e400", d));
  EXPECT_FALSE(parseDouble("-1e400", d));
  long double x;
  EXPECT_TRUE(parseDecimal("-1e-400", x));
  EXPECT_LT(x, 0);  // extended precision still holds it
  ASSERT_TRUE(parseDouble("-1e-400", d));
  EXPECT_EQ(d, 0.0);
  ASSERT_TRUE(parseDouble("0.1", d));
  EXPECT_EQ(d, 0.1);
  ASSERT_TRUE(parseDouble("1.7976931348623157e308", d));
  EXPECT_EQ(d, std::numeric_limits<double>::max());
}

struct IntCase {
  const char* text;
  bool ok;
  int32_t value;
};

TEST(ParseInt32, ReadsDecimalAndHexadecimalWholeNumbers) {
  const IntCase cases[] = {
      {"0", true, 0},
      {"+7", true, 7},
      {"-0", true, 0},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"$FF", true, 255},
      {"$ff", true, 255},
      {"x1A", true, 26},
      {"0x10", true, 16},
      {"-$10", true, -16},
      {"$FFFFFFFF", true, -1},  // the 32-bit pattern
      {"$80000000", true, INT32_MIN},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"$100000000", false, 0},
      {"2.5", false, 0},  // not a whole number
      {"1e3", false, 0},
      {"", false, 0},
      {"$", false, 0},
      {"x", false, 0},
      {"0x", false, 0},
      {"12abc", false, 0},
      {"$G1", false, 0},
  };
  for (const auto& c : cases) {
    int32_t v = -99;
    EXPECT_EQ(parseInt32(c.text, v), c.ok) << '"' << c.text << '"';
    if (c.ok) {
      EXPECT_EQ(v, c.value) << '"' << c.text << '"';
    }
  }
}

TEST(RoundTo, HalvesGoAwayFromZeroWithAnEpsilonNudge) {
  EXPECT_EQ(roundTo(2.5L, 1), 3);
  EXPECT_EQ(roundTo(-2.5L, 1), -3);
  EXPECT_EQ(roundTo(2.4L, 1), 2);
  // Within 1e-14 below a half still rounds up; further below does not.
  EXPECT_EQ(roundTo(0.499999999999995L, 1), 1);
  EXPECT_EQ(roundTo(0.49999999999998L, 1), 0);
  EXPECT_EQ(numberText(roundTo(1.23456L, 10000)), "1.2346");
  EXPECT_EQ(numberText(roundTo(-0.00005L, 10000)), "-0.0001");
  EXPECT_EQ(numberText(roundTo(0.00004L, 10000)), "0");
  EXPECT_TRUE(std::signbit(roundTo(-0.1L, 1)));  // the sign is kept, also for a zero result
}

}  // namespace
}  // namespace kubrix

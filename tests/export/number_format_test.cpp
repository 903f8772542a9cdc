// The number formats of the export files: the fast fixed-point formatter must write exactly what
// printf writes, the shortest form must read back as the same double, palette components as three
// decimals in general form.
#include <gtest/gtest.h>

#include <charconv>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "output/export/text_writer.h"

namespace kubrix {
namespace {

std::string fast(double v, int decimals) {
  char buf[kFixedTextMax];
  return std::string(buf, formatFixed(v, decimals, buf));
}

std::string printfText(double v, int decimals) {
  char buf[512];
  snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

double fromBits(uint64_t b) {
  double v;
  memcpy(&v, &b, sizeof v);
  return v;
}

TEST(ExportNumbers, FixedMatchesPrintfOnEdgeValues) {
  const double values[] = {0.0, -0.0, 1.0, -1.0, 0.5, 1.5, 2.5, -2.5, 0.125, 0.375, 1e-10, 5e-11, 4.9999999999e-11,
                           -5e-11, 1e-15, -1e-15, 0.00049999999999999999, 0.0005, 0.001, 12.3456, -12.345,
                           123456789.123456789, 9007199254740993.0, 9.2233720368547758e18, 1.8446744073709552e19,
                           1e20, -1e300, 1.7976931348623157e308, 4.9406564584124654e-324, 2.2250738585072014e-308,
                           0.1, 0.2, 0.3, 1.0 / 3.0, 2.0 / 3.0, 1e6 + 0.5e-10, 0.045, 0.0450000000005,
                           INFINITY, -INFINITY, NAN};
  for (double v : values)
    for (int d : {0, 1, 2, 9, 10, 17}) EXPECT_EQ(fast(v, d), printfText(v, d)) << v << " %." << d << "f";
}

// Exact ties in binary: k / 2^n with enough digits to land right on a half at the last decimal.
TEST(ExportNumbers, FixedRoundsExactTiesToEvenAsPrintfDoes) {
  for (int n = 1; n <= 40; ++n)
    for (long long k = 1; k < 64; k += 2)
      for (int d : {2, 9, 10}) {
        const double v = std::ldexp(static_cast<double>(k), -n);
        EXPECT_EQ(fast(v, d), printfText(v, d)) << v;
        EXPECT_EQ(fast(-v, d), printfText(-v, d)) << -v;
      }
}

TEST(ExportNumbers, FixedMatchesPrintfOnRandomDoubles) {
  std::mt19937_64 rng(20240601);
  for (int i = 0; i < 200000; ++i) {
    double v;
    switch (i % 4) {
      case 0: v = fromBits(rng()); break;  // any bit pattern, every exponent
      case 1: v = std::uniform_real_distribution<double>(-1e4, 1e4)(rng); break;
      case 2: v = std::round(std::uniform_real_distribution<double>(-1e6, 1e6)(rng) * 1e12) / 1e12; break;
      default: v = std::uniform_real_distribution<double>(-1e4, 1e4)(rng) * 0.001; break;
    }
    const int d = (i % 3 == 0) ? 9 : (i % 3 == 1) ? 10 : 2;
    ASSERT_EQ(fast(v, d), printfText(v, d)) << std::hexfloat << v << " %." << d << "f";
  }
}

TEST(ExportNumbers, ShortestReadsBackExactlyWithoutNegativeZero) {
  char buf[32];
  std::mt19937_64 rng(7);
  for (int i = 0; i < 100000; ++i) {
    const double v = (i % 2 == 0) ? std::round(std::uniform_real_distribution<double>(-1e5, 1e5)(rng) * 1e12) / 1e12
                                  : fromBits(rng() & 0x7FEFFFFFFFFFFFFFull);
    const std::string s(buf, formatShortest(v, buf));
    ASSERT_EQ(std::strtod(s.c_str(), nullptr), v) << s;
  }
  EXPECT_EQ(std::string(buf, formatShortest(-0.0, buf)), "0");
  EXPECT_EQ(std::string(buf, formatShortest(10.0, buf)), "10");
  EXPECT_EQ(std::string(buf, formatShortest(0.123456789012, buf)), "0.123456789012");
  EXPECT_EQ(std::string(buf, formatShortest(-2.5, buf)), "-2.5");
}

// Coordinates on the 1e-12 grid take a fast path; its text must be std::to_chars's, byte for byte,
// near every decade, near powers of two, at the range ends and for random grid and off-grid values.
TEST(ExportNumbers, ShortestGridPathEqualsToChars) {
  auto same = [](double v) {
    if (v == 0) return;  // zero is written "0", never "-0": tested above
    char fast[32], slow[32];
    const std::string f(fast, formatShortest(v, fast));
    const std::string s(slow, static_cast<size_t>(std::to_chars(slow, slow + 32, v).ptr - slow));
    ASSERT_EQ(f, s) << std::hexfloat << v;
  };
  std::mt19937_64 rng(11);
  for (int i = 0; i < 400000; ++i) {
    const double scale = std::pow(10.0, std::uniform_int_distribution<int>(-4, 5)(rng));
    double v = std::uniform_real_distribution<double>(-1, 1)(rng) * scale;
    if (i % 4 != 3) v = static_cast<double>(std::round(static_cast<long double>(v) * 1e12L) / 1e12L);
    if (i % 7 == 0) v = std::round(v * 1e6) / 1e6;
    same(v);
  }
  for (int e = -12; e <= 17; ++e) {
    const double p = std::ldexp(1.0, e);
    for (double v : {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300)}) same(v), same(-v);
  }
  for (double v : {1e-3, 0.002, 0.00099999999999, 99999.999999999, 1e5, 12345.678901234, 0.1, 0.3, 1.0 / 3,
                   2.0 / 3, 0.309016994375, 9007.199254740993})
    same(v), same(-v);
}

TEST(ExportNumbers, UnitVectorComponentsHaveFifteenDecimals) {
  char buf[32];
  auto text = [&](double v) { return std::string(buf, formatUnitFixed(v, buf)); };
  EXPECT_EQ(text(0.0), "0");
  EXPECT_EQ(text(-0.0), "0");
  EXPECT_EQ(text(1.0), "1");
  EXPECT_EQ(text(-1.0), "-1");
  EXPECT_EQ(text(-0.5), "-0.5");
  EXPECT_EQ(text(1 / std::sqrt(2.0)), "0.707106781186548");
  EXPECT_EQ(text(4e-16), "0");
  EXPECT_EQ(text(1e-15), "0.000000000000001");
  EXPECT_EQ(text(2.5), "2.5");  // not a unit component: the shortest text
  std::mt19937_64 rng(3);
  for (int i = 0; i < 100000; ++i) {
    const double v = std::uniform_real_distribution<double>(-1, 1)(rng);
    const std::string t = text(v);
    ASSERT_NEAR(std::strtod(t.c_str(), nullptr), v, 7e-16) << t;  // half a unit of the 15th decimal, and the reading
    ASSERT_LE(t.size(), v < 0 ? 18u : 17u) << t;
    ASSERT_NE(t.back(), '0') << t;
  }
}

TEST(ExportNumbers, UnitComponentsAreThreeDecimalsInGeneralForm) {
  char buf[8];
  auto text = [&](int c) { return std::string(buf, formatUnitComponent(c, buf)); };
  EXPECT_EQ(text(0), "0");
  EXPECT_EQ(text(255), "1");
  EXPECT_EQ(text(128), "0.502");
  EXPECT_EQ(text(51), "0.2");
  EXPECT_EQ(text(1), "0.004");
  EXPECT_EQ(text(136), "0.533");
  EXPECT_EQ(text(254), "0.996");
  for (int c = 0; c <= 255; ++c) {
    const double want = std::nearbyint(c / 255.0 * 1000.0) / 1000.0;  // no component lies on a tie
    EXPECT_EQ(std::strtod(text(c).c_str(), nullptr), want) << c;
    EXPECT_EQ(text(c).back() == '0' && text(c) != "0", false) << text(c);  // no trailing zeros
  }
}

TEST(ExportNumbers, WriterFlushesLongTextAndCountsBytes) {
  std::string out;
  {
    TextWriter w(out, 4096);
    for (int i = 0; i < 10000; ++i) {
      w.fixed(i * 0.25, 2);
      w.put(' ');
      w.padded(i, 6);
      w.crlf();
    }
    ASSERT_TRUE(w.flush());
    EXPECT_EQ(w.bytesWritten(), out.size());
  }
  EXPECT_EQ(out.substr(0, 20), "0.00      0\r\n0.25   ");
  EXPECT_EQ(out.size(), 10000u * 2 + 10000u * 7 + [] {
    size_t n = 0;
    char buf[64];
    for (int i = 0; i < 10000; ++i) n += static_cast<size_t>(snprintf(buf, sizeof buf, "%.2f", i * 0.25));
    return n;
  }());
}

}  // namespace
}  // namespace kubrix

// The number-to-text rule and the number readers.
#include "engine/number_text.h"

#include <locale.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kubrix {

namespace {

// Writes the rounded digits (d[0..nd), value 0.d1d2... x 10^exp10) in general notation.
size_t writeGeneral(bool neg, const char* d, int nd, int exp10, char* buf) {
  char* p = buf;
  if (neg) *p++ = '-';
  if (exp10 > 15 || exp10 < -3) {
    *p++ = d[0];
    if (nd > 1) {
      *p++ = '.';
      for (int i = 1; i < nd; ++i) *p++ = d[i];
    }
    *p++ = 'E';
    int e = exp10 - 1;
    if (e < 0) {
      *p++ = '-';
      e = -e;
    }
    char tmp[8];
    int k = 0;
    do {
      tmp[k++] = static_cast<char>('0' + e % 10);
      e /= 10;
    } while (e > 0);
    while (k > 0) *p++ = tmp[--k];
  } else if (exp10 <= 0) {
    *p++ = '0';
    *p++ = '.';
    for (int i = 0; i < -exp10; ++i) *p++ = '0';
    for (int i = 0; i < nd; ++i) *p++ = d[i];
  } else {
    for (int i = 0; i < exp10; ++i) *p++ = i < nd ? d[i] : '0';
    if (nd > exp10) {
      *p++ = '.';
      for (int i = exp10; i < nd; ++i) *p++ = d[i];
    }
  }
  return static_cast<size_t>(p - buf);
}

size_t writeInteger(unsigned long long u, bool neg, char* buf) {
  char tmp[24];
  int k = 0;
  do {
    tmp[k++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u > 0);
  char* p = buf;
  if (neg) *p++ = '-';
  while (k > 0) *p++ = tmp[--k];
  return static_cast<size_t>(p - buf);
}

// Scientific digits of |v| from printf ("d.dddde[+-]x"), with the decimal point ignored whatever the
// locale writes. Returns the exponent; digits go to d (nd of them).
int sciDigits(long double v, int precision, char* d, int& nd) {
  char tmp[160];
  snprintf(tmp, sizeof tmp, "%.*Le", precision, v);
  nd = 0;
  const char* p = tmp;
  while (*p && *p != 'e') {
    if (*p >= '0' && *p <= '9') d[nd++] = *p;
    ++p;
  }
  return (*p == 'e') ? atoi(p + 1) : 0;
}

// Exact powers of ten in extended precision (10^27 has a 64-bit mantissa).
constexpr long double kPow10[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                                  1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                                  1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

using u128 = unsigned __int128;

u128 pow10u(int i) {
  static const auto table = [] {
    std::array<u128, 39> t{};
    t[0] = 1;
    for (size_t k = 1; k < t.size(); ++k) t[k] = t[k - 1] * 10;
    return t;
  }();
  return table[static_cast<size_t>(i)];
}

int bitLength(u128 x) {
  const uint64_t hi = static_cast<uint64_t>(x >> 64), lo = static_cast<uint64_t>(x);
  return hi ? 128 - __builtin_clzll(hi) : lo ? 64 - __builtin_clzll(lo) : 0;
}

}  // namespace

bool decimal15(long double a, uint64_t& q, int& e10) {
  static_assert(sizeof(long double) >= 10, "extended precision expected");
  // a = m * 2^e with the 64-bit significand of the extended format.
  unsigned char raw[sizeof(long double)];
  memcpy(raw, &a, sizeof raw);
  uint64_t m;
  uint16_t se;
  memcpy(&m, raw, 8);
  memcpy(&se, raw + 8, 2);
  const int biased = se & 0x7FFF;
  if (biased == 0 || biased == 0x7FFF || !(m >> 63)) return false;  // zero, denormal, special
  const int e = biased - 16383 - 63;
  // Estimate the decimal exponent from the binary one, then correct it by one if needed.
  int est = static_cast<int>(std::floor((e + 63) * 0.30102999566398119521));
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int k = 14 - est;  // scale a by 10^k
    if (k > 38 || -k > 38) return false;
    u128 num = m, den = 1;
    if (k >= 0) {
      if (bitLength(num) + bitLength(pow10u(k)) > 127) return false;
      num *= pow10u(k);
    } else {
      den = pow10u(-k);
    }
    if (e >= 0) {
      if (bitLength(num) + e > 127) return false;
      num <<= e;
    } else {
      if (bitLength(den) - e > 127) return false;
      den <<= -e;
    }
    u128 quot = num / den;
    const u128 rem = num % den;
    if (quot >= pow10u(15)) {
      ++est;
      continue;
    }
    if (quot < pow10u(14)) {
      --est;
      continue;
    }
    if (rem >= den - rem) ++quot;  // halves away from zero
    if (quot == pow10u(15)) {
      quot = pow10u(14);
      ++est;
    }
    q = static_cast<uint64_t>(quot);
    e10 = est;
    return true;
  }
  return false;
}

long double round15(long double v) {
  if (v == 0 || !std::isfinite(v)) return v;
  const long double a = std::fabs(v);
  if (a < 1e15L && a == std::trunc(a)) return v;
  uint64_t q;
  int e10;
  long double r;
  if (decimal15(a, q, e10) && e10 - 14 >= -27 && e10 - 14 <= 27) {
    // One correctly rounded operation on exact operands: the value the 15-digit text reads back as.
    const int k = e10 - 14;
    r = k < 0 ? static_cast<long double>(q) / kPow10[-k] : static_cast<long double>(q) * kPow10[k];
  } else {
    char buf[kNumberTextMax + 8];
    const size_t n = formatNumber(a, buf);
    if (!parseDecimal(std::string_view(buf, n), r)) return v;
  }
  return std::signbit(v) ? -r : r;
}

size_t formatNumber(long double v, char* buf) {
  const bool neg = std::signbit(v);
  if (std::isnan(v)) {
    memcpy(buf, neg ? "-NAN" : "NAN", neg ? 4 : 3);
    return neg ? 4 : 3;
  }
  if (std::isinf(v)) {
    memcpy(buf, neg ? "-INF" : "INF", neg ? 4 : 3);
    return neg ? 4 : 3;
  }
  if (v == 0) {
    buf[0] = '0';
    return 1;
  }
  const long double a = neg ? -v : v;
  // Whole numbers below 10^15 are their own 15-digit form.
  if (a < 1e15L && a == std::trunc(a)) return writeInteger(static_cast<unsigned long long>(a), neg, buf);

  uint64_t q;
  int e10;
  if (decimal15(a, q, e10)) {
    char d[16];
    for (int i = 14; i >= 0; --i) {
      d[i] = static_cast<char>('0' + q % 10);
      q /= 10;
    }
    int n = 15;
    while (n > 1 && d[n - 1] == '0') --n;
    return writeGeneral(neg, d, n, e10 + 1, buf);
  }
  // Out of the range of the integer path: 21 correctly rounded digits decide the rounding at 15 unless digits 16.. look like a tie;
  // then 60 digits settle whether the value lies exactly on it.
  char d[72];
  int nd;
  int e = sciDigits(a, 20, d, nd);
  bool roundUp = d[15] >= '5';
  const bool nearTie = (memcmp(d + 15, "500000", 6) == 0) || (memcmp(d + 15, "499999", 6) == 0);
  if (nearTie) {
    e = sciDigits(a, 60, d, nd);
    roundUp = d[15] >= '5';
  }
  nd = 15;
  if (roundUp) {
    int i = 14;
    while (i >= 0 && d[i] == '9') d[i--] = '0';
    if (i < 0) {
      d[0] = '1';
      for (int k = 1; k < 15; ++k) d[k] = '0';
      ++e;
    } else {
      ++d[i];
    }
  }
  while (nd > 1 && d[nd - 1] == '0') --nd;
  return writeGeneral(neg, d, nd, e + 1, buf);
}

void appendNumber(std::string& out, long double v) {
  char buf[kNumberTextMax + 8];
  out.append(buf, formatNumber(v, buf));
}

std::string numberText(long double v) {
  std::string s;
  appendNumber(s, v);
  return s;
}

size_t formatInt(long long v, char* buf) {
  const bool neg = v < 0;
  const unsigned long long u = neg ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  return writeInteger(u, neg, buf);
}

void appendInt(std::string& out, long long v) {
  char buf[24];
  out.append(buf, formatInt(v, buf));
}

namespace {

locale_t cLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return loc;
}

inline bool isBlank(char c) { return c == ' '; }

}  // namespace

bool parseDecimal(std::string_view s, long double& out) {
  size_t i = 0, n = s.size();
  while (i < n && isBlank(s[i])) ++i;
  while (n > i && isBlank(s[n - 1])) --n;
  const size_t start = i;
  bool neg = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  unsigned long long mant = 0;
  int mantDigits = 0, digits = 0, scale = 0;
  bool exact = true;
  auto takeDigit = [&](char c, bool afterPoint) {
    ++digits;
    if (mant == 0 && c == '0') {
      if (afterPoint) ++scale;
      return;
    }
    if (mantDigits < 19) {
      mant = mant * 10 + static_cast<unsigned>(c - '0');
      ++mantDigits;
      if (afterPoint) ++scale;
    } else {
      exact = false;
    }
  };
  while (i < n && s[i] >= '0' && s[i] <= '9') takeDigit(s[i++], false);
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9') takeDigit(s[i++], true);
  }
  if (digits == 0) return false;
  int exp = 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool eneg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) eneg = s[i++] == '-';
    if (i >= n || s[i] < '0' || s[i] > '9') return false;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
      if (exp < 100000) exp = exp * 10 + (s[i] - '0');
      ++i;
    }
    if (eneg) exp = -exp;
  }
  if (i != n) return false;
  if (mant == 0) {
    out = neg ? -0.0L : 0.0L;
    return true;
  }
  const int e10 = exp - scale;
  if (exact && e10 >= -27 && e10 <= 27) {
    // Both operands are exact, so the one operation rounds correctly.
    long double v = static_cast<long double>(mant);
    v = e10 < 0 ? v / kPow10[-e10] : v * kPow10[e10];
    out = neg ? -v : v;
    return true;
  }
  char tmp[512];
  const size_t len = n - start;
  std::string heap;
  const char* text;
  if (len < sizeof tmp) {
    memcpy(tmp, s.data() + start, len);
    tmp[len] = 0;
    text = tmp;
  } else {
    heap.assign(s.data() + start, len);
    text = heap.c_str();
  }
  errno = 0;
  const long double v = strtold_l(text, nullptr, cLocale());
  if (std::isinf(v)) return false;
  out = v;
  return true;
}

bool parseDouble(std::string_view s, double& out) {
  long double v;
  if (!parseDecimal(s, v)) return false;
  const double d = static_cast<double>(v);
  if (std::isinf(d)) return false;
  out = d;
  return true;
}

bool parseInt32(std::string_view s, int32_t& out) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n && isBlank(s[i])) ++i;
  bool neg = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  bool hex = false;
  if (i < n && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  unsigned long long v = 0;
  for (; i < n; ++i) {
    const char c = s[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    v = v * (hex ? 16 : 10) + static_cast<unsigned>(d);
    if (v > 0xFFFFFFFFULL) return false;
  }
  long long r;
  if (hex) {
    // Hexadecimal text gives the 32-bit pattern: $FFFFFFFF is -1.
    r = static_cast<int32_t>(static_cast<uint32_t>(v));
  } else {
    if (v > (neg ? 2147483648ULL : 2147483647ULL)) return false;
    r = static_cast<long long>(v);
  }
  out = static_cast<int32_t>(neg ? -r : r);
  return true;
}

long double roundTo(long double x, long double scale) {
  const long double a = std::trunc(std::fabs(x) * scale + 0.5L + 1e-14L) / scale;
  return std::signbit(x) ? -a : a;
}

}  // namespace kubrix

// Number formatting and the buffered writer of the export files.
#include "output/export/text_writer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace kubrix {

namespace {

using u128 = unsigned __int128;

constexpr uint64_t kPow10[20] = {1ull,
                                 10ull,
                                 100ull,
                                 1000ull,
                                 10000ull,
                                 100000ull,
                                 1000000ull,
                                 10000000ull,
                                 100000000ull,
                                 1000000000ull,
                                 10000000000ull,
                                 100000000000ull,
                                 1000000000000ull,
                                 10000000000000ull,
                                 100000000000000ull,
                                 1000000000000000ull,
                                 10000000000000000ull,
                                 100000000000000000ull,
                                 1000000000000000000ull,
                                 10000000000000000000ull};

constexpr char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Decimal digits of v, most significant first; returns the count.
size_t writeUnsigned(uint64_t v, char* out) {
  char tmp[20];
  char* p = tmp + 20;
  while (v >= 100) {
    const uint64_t q = v / 100;
    const size_t r = static_cast<size_t>(v - q * 100) * 2;
    p -= 2;
    p[0] = kDigitPairs[r], p[1] = kDigitPairs[r + 1];
    v = q;
  }
  if (v >= 10) {
    p -= 2;
    p[0] = kDigitPairs[v * 2], p[1] = kDigitPairs[v * 2 + 1];
  } else {
    *--p = static_cast<char>('0' + v);
  }
  const size_t n = static_cast<size_t>(tmp + 20 - p);
  memcpy(out, p, n);
  return n;
}

// Exactly `width` digits of v (v < 10^width), leading zeros kept.
void writeZeroPadded(uint64_t v, int width, char* out) {
  char* p = out + width;
  while (p - out >= 2) {
    const uint64_t q = v / 100;
    const size_t r = static_cast<size_t>(v - q * 100) * 2;
    p -= 2;
    p[0] = kDigitPairs[r], p[1] = kDigitPairs[r + 1];
    v = q;
  }
  if (p > out) *--p = static_cast<char>('0' + v);
}

size_t writeU128(u128 v, char* out) {
  if (v <= UINT64_MAX) return writeUnsigned(static_cast<uint64_t>(v), out);
  // Split off 19 digits at a time; only values of 2^64 and above come here (rare).
  const u128 low = v % kPow10[19];
  const size_t n = writeU128(v / kPow10[19], out);
  writeZeroPadded(static_cast<uint64_t>(low), 19, out + n);
  return n + 19;
}

}  // namespace

size_t formatFixed(double v, int decimals, char* out) {
  uint64_t bits;
  memcpy(&bits, &v, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  // Values of 2^63 and above, and those that are not finite, are rare: printf itself writes them.
  if (biased == 0x7FF || biased >= 1023 + 63 || decimals < 0 || decimals > 17) {
    const int n = snprintf(out, kFixedTextMax, "%.*f", decimals, v);
    return n < 0 ? 0 : std::min(static_cast<size_t>(n), kFixedTextMax - 1);
  }
  // v = m * 2^e exactly.
  const uint64_t m = biased == 0 ? fraction : (fraction | (uint64_t{1} << 52));
  const int e = (biased == 0 ? 1 : biased) - 1075;
  const uint64_t scale = kPow10[decimals];
  // q = |v| * 10^decimals rounded half to even, computed exactly: m < 2^53 and 10^17 < 2^57.
  u128 q;
  if (e >= 0) {
    q = static_cast<u128>(m << e) * scale;
  } else {
    const int k = -e;
    const u128 p = static_cast<u128>(m) * scale;  // below 2^110
    if (k >= 128) {
      q = 0;  // p is far below half of 2^k
    } else {
      q = p >> k;
      const u128 rest = p - (q << k);
      const u128 half = static_cast<u128>(1) << (k - 1);
      if (rest > half || (rest == half && (q & 1) != 0)) ++q;
    }
  }
  char* o = out;
  if (negative) *o++ = '-';
  if (q <= UINT64_MAX) {
    const uint64_t q64 = static_cast<uint64_t>(q);
    const uint64_t whole = q64 / scale;
    o += writeUnsigned(whole, o);
    if (decimals > 0) {
      *o++ = '.';
      writeZeroPadded(q64 - whole * scale, decimals, o);
      o += decimals;
    }
  } else {
    const u128 whole = q / scale;
    o += writeU128(whole, o);
    if (decimals > 0) {
      *o++ = '.';
      writeZeroPadded(static_cast<uint64_t>(q - whole * scale), decimals, o);
      o += decimals;
    }
  }
  return static_cast<size_t>(o - out);
}

namespace {

// The neighbouring double of a positive finite a, below or above.
double neighbourOf(double a, bool below) {
  uint64_t bits;
  memcpy(&bits, &a, sizeof bits);
  bits = below ? bits - 1 : bits + 1;
  double n;
  memcpy(&n, &bits, sizeof n);
  return n;
}

// Stored coordinates lie on a grid of 1e-12 (they are the doubles nearest to k / 10^12). For
// 1e-3 <= |v| < 1e5 such a value is written from k directly, without the general shortest search,
// which costs several hundred instructions a number. The decimal D = k / 10^12 is the text when
// (1) D reads back as v: it lies nearer to v than half the gap to the neighbouring double on its side
// (checked with a margin for the extended-precision division), and (2) D has at most 15 significant
// digits: two different decimals of at most 15 digits never read back as the same double, so no
// other text of D's length or shorter reads back as v, and D is the shortest text. In that range the
// fixed form is never longer than the exponent form, so the text equals std::to_chars's. Returns 0
// when the fast path does not apply.
size_t gridShortest(double v, char* out) {
  const double a = std::fabs(v);
  if (!(a >= 1e-3 && a < 1e5)) return 0;
  const uint64_t k = static_cast<uint64_t>(static_cast<long double>(a) * 1e12L + 0.5L);
  const long double d = static_cast<long double>(k) / 1e12L;
  const long double gap = std::fabs(static_cast<long double>(neighbourOf(a, d < a)) - a);
  if (std::fabs(d - a) >= gap * (0.5L - 1.0L / 256)) return 0;
  const uint32_t whole = static_cast<uint32_t>(k / 1000000000000ull);
  uint64_t fraction = k % 1000000000000ull;
  char frac[12];
  for (int i = 10; i >= 0; i -= 2) {
    memcpy(frac + i, kDigitPairs + 2 * (fraction % 100), 2);
    fraction /= 100;
  }
  int fractionDigits = 12;
  while (fractionDigits && frac[fractionDigits - 1] == '0') --fractionDigits;
  char wholeText[5];
  int wholeDigits = 0;
  for (uint32_t w = whole; w; w /= 10) wholeText[4 - wholeDigits++] = static_cast<char>('0' + w % 10);
  int significant = wholeDigits + fractionDigits;
  if (!whole) {
    int lead = 0;
    while (lead < fractionDigits && frac[lead] == '0') ++lead;
    significant -= lead;
  }
  if (significant > 15) return 0;
  char* o = out;
  if (std::signbit(v)) *o++ = '-';
  if (whole) {
    memcpy(o, wholeText + 5 - wholeDigits, static_cast<size_t>(wholeDigits));
    o += wholeDigits;
  } else {
    *o++ = '0';
  }
  if (fractionDigits) {
    *o++ = '.';
    memcpy(o, frac, static_cast<size_t>(fractionDigits));
    o += fractionDigits;
  }
  return static_cast<size_t>(o - out);
}

}  // namespace

size_t formatShortest(double v, char* out) {
  if (v == 0) v = 0.0;  // no "-0"
  if (const size_t n = gridShortest(v, out)) return n;
  const auto r = std::to_chars(out, out + 32, v);
  return static_cast<size_t>(r.ptr - out);
}

size_t formatUnitFixed(double v, char* out) {
  const double a = std::fabs(v);
  if (!(a <= 1.0)) return formatShortest(v, out);
  const uint64_t k = static_cast<uint64_t>(a * 1e15 + 0.5);
  if (k == 0) return out[0] = '0', 1;
  char* o = out;
  if (v < 0) *o++ = '-';
  constexpr uint64_t kScale = 1000000000000000ull;
  *o++ = static_cast<char>('0' + k / kScale);
  uint64_t fraction = k % kScale;
  if (fraction == 0) return static_cast<size_t>(o - out);
  int digits = 15;
  while (fraction % 10 == 0) fraction /= 10, --digits;
  *o++ = '.';
  for (int i = digits - 1; i >= 0; --i) {
    o[i] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  return static_cast<size_t>(o + digits - out);
}

size_t formatUnitComponent(int c, char* out) {
  if (c <= 0) return out[0] = '0', 1;
  if (c >= 255) return out[0] = '1', 1;
  // c / 255 * 1000 rounded: no component lies exactly halfway (that would need 51 | c, which gives
  // multiples of 0.2), so the tie rule never decides.
  int k = (c * 2000 + 255) / 510;
  if (k >= 1000) return out[0] = '1', 1;
  char* o = out;
  *o++ = '0';
  if (k == 0) return 1;
  *o++ = '.';
  int digits = 3;
  while (k % 10 == 0) k /= 10, --digits;
  for (int i = digits - 1; i >= 0; --i) {
    o[i] = static_cast<char>('0' + k % 10);
    k /= 10;
  }
  return static_cast<size_t>(o - out) + static_cast<size_t>(digits);
}

TextWriter::TextWriter(int fd, size_t bufferBytes) : fd_(fd) {
  bufferBytes = std::max(bufferBytes, size_t{4096});
  begin_ = new char[bufferBytes];
  pos_ = begin_;
  end_ = begin_ + bufferBytes;
}

TextWriter::TextWriter(std::string& into, size_t bufferBytes) : into_(&into) {
  bufferBytes = std::max(bufferBytes, size_t{4096});
  begin_ = new char[bufferBytes];
  pos_ = begin_;
  end_ = begin_ + bufferBytes;
}

TextWriter::TextWriter(PlainBuffer<char>& into) : memory_(&into) {
  into.reserve(into.size() + 65536);
  begin_ = into.data();
  pos_ = begin_ + into.size();
  end_ = begin_ + into.capacity();
}

TextWriter::~TextWriter() {
  if (memory_ != nullptr) {
    memory_->setSize(static_cast<size_t>(pos_ - begin_));
  } else {
    delete[] begin_;
  }
}

void TextWriter::makeRoom(size_t n) {
  if (memory_ == nullptr) return drain();
  const size_t used = static_cast<size_t>(pos_ - begin_);
  memory_->setSize(used);
  memory_->reserve(std::max(memory_->capacity() * 2, used + n));
  begin_ = memory_->data();
  pos_ = begin_ + used;
  end_ = begin_ + memory_->capacity();
}

void TextWriter::integer(long long v) {
  char* p = reserve(21);
  if (v < 0) {
    *p++ = '-';
    pos_ = p + writeUnsigned(0ull - static_cast<unsigned long long>(v), p);
  } else {
    pos_ = p + writeUnsigned(static_cast<unsigned long long>(v), p);
  }
}

void TextWriter::padded(long long v, int width) {
  char tmp[24];
  char* p = tmp;
  if (v < 0) *p++ = '-';
  p += writeUnsigned(v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v), p);
  const size_t n = static_cast<size_t>(p - tmp);
  for (size_t i = n; i < static_cast<size_t>(std::max(width, 0)); ++i) put(' ');
  put(std::string_view(tmp, n));
}

void TextWriter::putSlow(std::string_view s) {
  if (memory_ != nullptr) {
    memcpy(reserve(s.size()), s.data(), s.size());
    pos_ += s.size();
    return;
  }
  // A text larger than the buffer goes out directly after what is buffered, without a copy.
  if (s.size() >= static_cast<size_t>(end_ - begin_)) {
    drain();
    emit(s.data(), s.size());
    return;
  }
  while (!s.empty()) {
    if (pos_ == end_) drain();
    const size_t n = std::min(s.size(), static_cast<size_t>(end_ - pos_));
    memcpy(pos_, s.data(), n);
    pos_ += n;
    s.remove_prefix(n);
  }
}

void TextWriter::drain() {
  if (memory_ != nullptr) return memory_->setSize(static_cast<size_t>(pos_ - begin_));
  const size_t n = static_cast<size_t>(pos_ - begin_);
  pos_ = begin_;
  emit(begin_, n);
}

void TextWriter::emit(const char* p, size_t n) {
  if (error_ != 0 || n == 0) return;
  if (into_ != nullptr) {
    into_->append(p, n);
  } else {
    size_t left = n;
    while (left > 0) {
      const ssize_t w = ::write(fd_, p, left);
      if (w < 0) {
        if (errno == EINTR) continue;
        error_ = errno;
        return;
      }
      if (w == 0) {
        error_ = EIO;
        return;
      }
      p += w;
      left -= static_cast<size_t>(w);
    }
  }
  written_ += n;
}

bool TextWriter::flush() {
  drain();
  return ok();
}

}  // namespace kubrix

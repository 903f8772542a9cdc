// Buffered text output for the export writers, with the number formats they need written straight
// into the buffer: printf-exact fixed point ("%.10f" and the like), shortest round-trip decimals,
// integers, and palette components as three-decimal fractions. No iostreams, no allocation per number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "geometry/plain_buffer.h"

namespace kubrix {

// Longest text formatFixed writes (the 309 integer digits of the largest double, the point, up to
// 17 decimals and the sign, with room to spare).
inline constexpr size_t kFixedTextMax = 340;

// Writes |v| rounded to `decimals` places (0..17) exactly as printf("%.*f", decimals, v) does in the
// C locale: the exact binary value rounded half to even, a minus sign whenever the sign bit is set
// ("-0.00" included), "inf" / "nan" for values that are not finite. Returns the bytes written to out,
// which holds at least kFixedTextMax bytes.
size_t formatFixed(double v, int decimals, char* out);

// Writes the shortest decimal text that reads back as exactly v (std::to_chars); a negative zero is
// written "0". Returns the bytes written; out holds at least 32 bytes.
size_t formatShortest(double v, char* out);

// A component of a unit vector (|v| <= 1), rounded to 15 decimals and written in fixed form with
// trailing zeros dropped: "-0.267261241912424", "1", "0". Other values are written as
// formatShortest writes them. Returns the bytes written; out holds at least 32 bytes.
size_t formatUnitFixed(double v, char* out);

// The palette component c (0..255) divided by 255 and rounded to three decimals, in general form:
// 0 -> "0", 128 -> "0.502", 255 -> "1". Returns the bytes written; out holds at least 8 bytes.
size_t formatUnitComponent(int c, char* out);

// Buffered writer to a file descriptor or a string. After the first failed write it keeps the error
// number and ignores everything that follows; the caller checks ok() or finish().
class TextWriter {
 public:
  explicit TextWriter(int fd, size_t bufferBytes = size_t{1} << 20);
  explicit TextWriter(std::string& into, size_t bufferBytes = size_t{1} << 16);
  // Writes straight into the buffer's memory after what it holds, growing it as needed; its size
  // covers the text after flush() and at the end.
  explicit TextWriter(PlainBuffer<char>& into);
  ~TextWriter();
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  void put(std::string_view s) {
    if (s.size() <= static_cast<size_t>(end_ - pos_)) {
      memcpy(pos_, s.data(), s.size());
      pos_ += s.size();
    } else {
      putSlow(s);
    }
  }
  void put(char c) { *reserve(1) = c; pos_++; }
  void crlf() {
    char* p = reserve(2);
    p[0] = '\r', p[1] = '\n';
    pos_ += 2;
  }
  // One text line with its CR LF.
  void line(std::string_view s) {
    put(s);
    crlf();
  }
  void fixed(double v, int decimals) { pos_ += formatFixed(v, decimals, reserve(kFixedTextMax)); }
  void shortest(double v) { pos_ += formatShortest(v, reserve(32)); }
  void unitFixed(double v) { pos_ += formatUnitFixed(v, reserve(32)); }
  void integer(long long v);
  // "%6d"-style: right-aligned in width characters.
  void padded(long long v, int width);
  void unitComponent(int c) { pos_ += formatUnitComponent(c, reserve(8)); }

  // Writes out the buffer; false once any write has failed.
  bool flush();
  bool ok() const { return error_ == 0; }
  int error() const { return error_; }  // errno of the first failure, 0 while none
  uint64_t bytesWritten() const { return written_ + static_cast<uint64_t>(pos_ - begin_); }

 private:
  // A pointer to at least n free bytes (n no more than the buffer's size).
  char* reserve(size_t n) {
    if (static_cast<size_t>(end_ - pos_) < n) makeRoom(n);
    return pos_;
  }
  // Drains the buffer, or in memory grows it, so that n bytes fit.
  void makeRoom(size_t n);
  void putSlow(std::string_view s);
  void drain();
  // Hands n bytes to the file or string, keeping the first error.
  void emit(const char* p, size_t n);

  int fd_ = -1;
  std::string* into_ = nullptr;
  PlainBuffer<char>* memory_ = nullptr;
  char* begin_ = nullptr;
  char* pos_ = nullptr;
  char* end_ = nullptr;
  uint64_t written_ = 0;
  int error_ = 0;
};

}  // namespace kubrix

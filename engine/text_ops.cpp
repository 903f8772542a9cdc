// Character-wise text operations, angle and hexadecimal texts, and file-path parts.
#include "engine/text_ops.h"

#include <algorithm>
#include <cmath>

#include "engine/number_text.h"
#include "engine/sjis.h"

namespace kubrix {

size_t charCount(std::string_view s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); i += charLen(s, i)) ++n;
  return n;
}

size_t charPosition(std::string_view needle, std::string_view hay) {
  if (needle.empty()) return 0;
  const size_t at = findChars(hay, needle);
  return at == std::string_view::npos ? 0 : charCount(hay.substr(0, at)) + 1;
}

std::string_view charSlice(std::string_view s, long long start, long long count) {
  if (count <= 0) return {};
  if (start < 1) start = 1;
  size_t i = 0;
  for (long long k = 1; k < start && i < s.size(); ++k) i += charLen(s, i);
  size_t end = i;
  for (long long k = 0; k < count && end < s.size(); ++k) end += charLen(s, end);
  return s.substr(i, end - i);
}

void lowerInPlace(std::string& s) {
  for (size_t i = 0; i < s.size(); i += charLen(s, i))
    if (s[i] >= 'A' && s[i] <= 'Z') s[i] = static_cast<char>(s[i] + 32);
}

void appendDegrees(std::string& out, double degrees) {
  // Extended precision for the parts, as the arithmetic of the other commands.
  const bool negative = degrees < 0;
  const long double a = std::fabs(static_cast<long double>(degrees));
  long double d = std::trunc(a);
  const long double f = a - d;
  long double m = std::trunc(f * 60);
  long double s = std::trunc(f * 3600 - m * 60 + 0.5L + 1e-14L);
  if (s >= 60) {
    s = 0;
    m += 1;
    if (m >= 60) {
      m = 0;
      d += 1;
    }
  }
  // The sign goes in front of the whole text, not with the degrees: a negative angle below one degree
  // (-0.5 gives -0ﾟ30') keeps its sign, which a negated whole degree count of 0 would lose. An angle
  // that rounds to nothing is written without a sign.
  if (negative && (d != 0 || m != 0 || s != 0)) out += '-';
  appendNumber(out, d);
  out += SJ("ﾟ");
  if (m != 0 || s != 0) {
    appendNumber(out, m);
    out += '\'';
  }
  if (s != 0) {
    appendNumber(out, s);
    out += '"';
  }
}

bool parseHex32(std::string_view s, int32_t& out) {
  if (s.empty() || s.size() > 8) return false;
  uint32_t v = 0;
  for (const char c : s) {
    uint32_t d;
    if (c >= '0' && c <= '9') d = static_cast<uint32_t>(c - '0');
    else if (c >= 'a' && c <= 'f') d = static_cast<uint32_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') d = static_cast<uint32_t>(c - 'A' + 10);
    else return false;
    v = v * 16 + d;
  }
  out = static_cast<int32_t>(v);
  return true;
}

void appendHex(std::string& out, int32_t v, int minDigits) {
  char digits[8];
  int n = 0;
  uint32_t u = static_cast<uint32_t>(v);
  do {
    digits[n++] = "0123456789ABCDEF"[u & 15];
    u >>= 4;
  } while (u != 0);
  const int pad = std::min(minDigits, kMaxHexDigits) - n;
  if (pad > 0) out.append(static_cast<size_t>(pad), '0');
  while (n > 0) out += digits[--n];
}

std::string_view pathPart(std::string_view path, int part) {
  // '/' and '.' never occur as the second byte of a double-byte character, but the walk keeps to
  // character boundaries all the same.
  size_t slash = std::string_view::npos, dot = std::string_view::npos;
  for (size_t i = 0; i < path.size(); i += charLen(path, i)) {
    if (path[i] == '/') {
      slash = i;
      dot = std::string_view::npos;
    } else if (path[i] == '.') {
      dot = i;
    }
  }
  const size_t nameAt = slash == std::string_view::npos ? 0 : slash + 1;
  const std::string_view name = path.substr(nameAt);
  const std::string_view ext = dot == std::string_view::npos ? std::string_view() : path.substr(dot);
  switch (part) {
    case 1: return name;
    case 2: return name.substr(0, name.size() - ext.size());
    case 3: return path.substr(0, nameAt);
    case 4: return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash == 0 ? 1 : slash);
    case 5: return ext;
    default: return path;
  }
}

}  // namespace kubrix

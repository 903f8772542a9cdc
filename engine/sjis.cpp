// Shift-JIS scanning helpers and the CP932 <-> UTF-8 conversions (glibc iconv).
#include "engine/sjis.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace kubrix {

void appendPacked(std::string& out, std::string_view s) {
  const size_t n = s.size();
  for (size_t i = 0; i < n;) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (isLeadByte(c) && i + 1 < n) {
      if (!(c == 0x81 && static_cast<unsigned char>(s[i + 1]) == 0x40)) out.append(s.data() + i, 2);
      i += 2;
      continue;
    }
    if (c > 32) out.push_back(static_cast<char>(c));
    ++i;
  }
}

std::string packed(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  appendPacked(out, s);
  return out;
}

bool hasNonBlank(std::string_view s) {
  const size_t n = s.size();
  for (size_t i = 0; i < n;) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (isLeadByte(c) && i + 1 < n) {
      if (!(c == 0x81 && static_cast<unsigned char>(s[i + 1]) == 0x40)) return true;
      i += 2;
      continue;
    }
    if (c > 32) return true;
    ++i;
  }
  return false;
}

void upperInPlace(std::string& s) {
  const size_t n = s.size();
  for (size_t i = 0; i < n;) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (isLeadByte(c) && i + 1 < n) {
      i += 2;
      continue;
    }
    if (c >= 'a' && c <= 'z') s[i] = static_cast<char>(c - 32);
    ++i;
  }
}

std::string upper(std::string_view s) {
  std::string u(s);
  upperInPlace(u);
  return u;
}

namespace {
inline char foldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

template <bool NoCase>
size_t findCharsImpl(std::string_view hay, std::string_view needle) {
  if (needle.empty()) return 0;
  const size_t n = hay.size(), m = needle.size();
  for (size_t i = 0; i + m <= n; i += charLen(hay, i)) {
    size_t k = 0;
    if constexpr (NoCase) {
      while (k < m && foldAscii(hay[i + k]) == foldAscii(needle[k])) ++k;
    } else {
      while (k < m && hay[i + k] == needle[k]) ++k;
    }
    if (k == m) return i;
  }
  return std::string_view::npos;
}
}  // namespace

size_t findChars(std::string_view hay, std::string_view needle) { return findCharsImpl<false>(hay, needle); }
size_t findCharsNoCase(std::string_view hay, std::string_view needle) { return findCharsImpl<true>(hay, needle); }

std::string_view cutBytes(std::string_view s, size_t maxBytes) {
  if (s.size() <= maxBytes) return s;
  size_t i = 0;
  while (i < s.size()) {
    const size_t len = charLen(s, i);
    if (i + len > maxBytes) break;
    i += len;
  }
  return s.substr(0, i);
}

namespace {

// One iconv descriptor per thread and direction; iconv descriptors are not thread-safe.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts in, replacing each unconvertible input sequence of skip(in) bytes by replacement.
  template <typename SkipFn>
  std::string run(std::string_view in, std::string_view replacement, SkipFn skip) {
    std::string out;
    out.reserve(in.size() + in.size() / 2 + 16);
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      out.assign(in);
      return out;
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: an invalid or incomplete sequence at src.
      const size_t n = skip(std::string_view(src, srcLeft));
      out.append(replacement);
      src += n;
      srcLeft -= n;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

size_t utf8SeqLen(std::string_view s) {
  const unsigned char c = static_cast<unsigned char>(s[0]);
  size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
  if (len > s.size()) return 1;
  for (size_t i = 1; i < len; ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
  return len;
}

}  // namespace

std::string sjisToUtf8(std::string_view sjis) {
  thread_local Converter conv("UTF-8", "CP932");
  return conv.run(sjis, "\xEF\xBF\xBD", [](std::string_view rest) {
    return (isLeadByte(static_cast<unsigned char>(rest[0])) && rest.size() >= 2) ? size_t{2} : size_t{1};
  });
}

std::string utf8ToSjis(std::string_view utf8) {
  thread_local Converter conv("CP932", "UTF-8");
  return conv.run(utf8, "?", [](std::string_view rest) { return utf8SeqLen(rest); });
}

bool isValidUtf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    unsigned cp;
    if ((c >> 5) == 6) {
      len = 2;
      cp = c & 0x1F;
    } else if ((c >> 4) == 14) {
      len = 3;
      cp = c & 0x0F;
    } else if ((c >> 3) == 30) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      const unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

}  // namespace kubrix

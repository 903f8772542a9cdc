// Shift-JIS scanning helpers and the CP932 <-> UTF-8 conversions (glibc iconv).
#include "engine/sjis.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

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

namespace {

// UTF-8 of every CP932 code (single bytes and lead/trail pairs), built once with iconv: the log of
// a long run is converted at table speed.
struct Utf8Of {
  uint8_t len = 0;  // 0: no character
  char bytes[3] = {};
};

class SjisTable {
 public:
  SjisTable() : pairs_(65536) {
    Converter conv("UTF-8", "CP932");
    auto fill = [&](Utf8Of& slot, std::string_view code) {
      const std::string u = conv.run(code, "", [](std::string_view) { return size_t{1}; });
      if (u.empty() || u.size() > 3) return;
      slot.len = static_cast<uint8_t>(u.size());
      memcpy(slot.bytes, u.data(), u.size());
    };
    for (int c = 0x80; c < 0x100; ++c) {
      if (isLeadByte(static_cast<unsigned char>(c))) continue;
      const char b = static_cast<char>(c);
      fill(single_[c - 0x80], std::string_view(&b, 1));
    }
    for (int lead = 0x81; lead <= 0xFD; ++lead) {
      if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        fill(pairs_[static_cast<size_t>(lead << 8 | trail)], std::string_view(code, 2));
      }
    }
  }
  const Utf8Of& single(unsigned char c) const { return single_[c - 0x80]; }
  const Utf8Of& pair(unsigned char lead, unsigned char trail) const { return pairs_[static_cast<size_t>(lead << 8 | trail)]; }

 private:
  Utf8Of single_[128];
  std::vector<Utf8Of> pairs_;
};

const SjisTable& sjisTable() {
  static const SjisTable table;
  return table;
}

}  // namespace

std::string sjisToUtf8(std::string_view sjis) {
  const SjisTable& t = sjisTable();
  std::string out;
  out.reserve(sjis.size() + sjis.size() / 2);
  const size_t n = sjis.size();
  for (size_t i = 0; i < n;) {
    const unsigned char c = static_cast<unsigned char>(sjis[i]);
    if (c < 0x80) {
      size_t j = i + 1;
      while (j < n && static_cast<unsigned char>(sjis[j]) < 0x80) ++j;
      out.append(sjis.data() + i, j - i);
      i = j;
      continue;
    }
    const Utf8Of* u = nullptr;
    size_t used = 1;
    if (isLeadByte(c)) {
      // A lead byte is paired only with a byte that can follow it; otherwise it alone is shown as
      // U+FFFD and the next byte keeps its own meaning (a line end, a separator).
      const unsigned char t2 = i + 1 < n ? static_cast<unsigned char>(sjis[i + 1]) : 0;
      if ((t2 >= 0x40 && t2 <= 0x7E) || (t2 >= 0x80 && t2 <= 0xFC)) {
        u = &t.pair(c, t2);
        used = 2;
      }
    } else {
      u = &t.single(c);
    }
    if (u && u->len) out.append(u->bytes, u->len);
    else out.append("\xEF\xBF\xBD");
    i += used;
  }
  return out;
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

// Full-width mapping tables, built once from their Unicode forms.
#include "engine/zenkaku.h"

#include <array>

#include "engine/assert.h"
#include "engine/sjis.h"

namespace kubrix {

namespace {

// The full-width katakana and signs of the half-width bytes 0xA1 to 0xDF, in byte order.
constexpr const char* kKanaFull =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨ"
    "ラリルレロワン゛゜";
// Half-width katakana that combine with a following voiced (ﾞ) or semi-voiced (ﾟ) mark, and the
// characters they combine into.
constexpr const char* kVoicedHalf = "ｳｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ";
constexpr const char* kVoicedFull = "ヴガギグゲゴザジズゼゾダヂヅデドバビブベボ";
constexpr const char* kSemiVoicedHalf = "ﾊﾋﾌﾍﾎ";
constexpr const char* kSemiVoicedFull = "パピプペポ";

constexpr unsigned char kVoicedMark = 0xDE, kSemiVoicedMark = 0xDF;

struct Tables {
  // Two CP932 bytes per half-width byte; an entry with a zero first byte has no full-width form.
  std::array<std::array<char, 2>, 256> full{}, voiced{}, semiVoiced{};

  Tables() {
    full[0x20] = {'\x81', '\x40'};  // the full-width space
    std::string ascii;
    for (char32_t u = 0xFF01; u <= 0xFF5E; ++u) {  // ！ .. ～, the forms of 0x21 .. 0x7E
      ascii += static_cast<char>(0xE0 | (u >> 12));
      ascii += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      ascii += static_cast<char>(0x80 | (u & 0x3F));
    }
    fill(full, 0x21, utf8ToSjis(ascii));
    // 0x5C, shown as the yen sign in Japanese fonts, is ASCII's backslash to the mapping, which goes
    // through Unicode: U+005C becomes U+FF3C, ＼ (0x81 0x5F), like every other ASCII sign.
    fill(full, 0xA1, utf8ToSjis(kKanaFull));
    pairs(voiced, kVoicedHalf, kVoicedFull);
    pairs(semiVoiced, kSemiVoicedHalf, kSemiVoicedFull);
  }

  static void fill(std::array<std::array<char, 2>, 256>& t, size_t first, const std::string& sjis) {
    KUBRIX_ASSERT(sjis.size() % 2 == 0 && first + sjis.size() / 2 <= 256, "full-width table out of shape");
    for (size_t i = 0; i < sjis.size() / 2; ++i) t[first + i] = {sjis[2 * i], sjis[2 * i + 1]};
  }

  static void pairs(std::array<std::array<char, 2>, 256>& t, const char* half, const char* full) {
    const std::string h = utf8ToSjis(half), f = utf8ToSjis(full);
    KUBRIX_ASSERT(f.size() == 2 * h.size(), "voiced table out of shape");
    for (size_t i = 0; i < h.size(); ++i) t[static_cast<unsigned char>(h[i])] = {f[2 * i], f[2 * i + 1]};
  }
};

const Tables& tables() {
  static const Tables t;
  return t;
}

}  // namespace

void appendFullWidth(std::string& out, std::string_view s) {
  const Tables& t = tables();
  for (size_t i = 0; i < s.size();) {
    const size_t len = charLen(s, i);
    const auto b = static_cast<unsigned char>(s[i]);
    if (len == 2 || !t.full[b][0]) {
      out.append(s.data() + i, len);
      i += len;
      continue;
    }
    const auto next = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
    const auto* combined = next == kVoicedMark ? &t.voiced[b] : next == kSemiVoicedMark ? &t.semiVoiced[b] : nullptr;
    if (combined && (*combined)[0]) {
      out.append(combined->data(), 2);
      i += 2;
    } else {
      out.append(t.full[b].data(), 2);
      i += 1;
    }
  }
}

}  // namespace kubrix

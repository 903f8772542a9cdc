// Shift-JIS (code page 932) byte rules and the conversions at the edges of the engine.
// Inside the engine every text is a CP932 byte string; a double-byte character is a lead byte
// 0x81-0x9F or 0xE0-0xFD followed by one more byte, and no scanner ever splits it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kubrix {

inline bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFD); }

// Length in bytes of the character starting at s[i] (2 for a lead byte followed by a byte, else 1).
inline size_t charLen(std::string_view s, size_t i) {
  return (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

// The full-width space, the two bytes 0x81 0x40.
inline bool isFullWidthSpace(std::string_view s, size_t i) {
  return i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0x81 && static_cast<unsigned char>(s[i + 1]) == 0x40;
}

// Appends s without blanks: half-width and full-width spaces, tabs and every character below 32.
void appendPacked(std::string& out, std::string_view s);
std::string packed(std::string_view s);

// True when the text holds a character that packing would keep.
bool hasNonBlank(std::string_view s);

// ASCII letters to upper case; second bytes of double-byte characters are left alone.
void upperInPlace(std::string& s);
std::string upper(std::string_view s);

// Byte offset of the first occurrence of needle in hay that starts on a character boundary, or npos.
size_t findChars(std::string_view hay, std::string_view needle);
// The same with ASCII letters compared case-insensitively.
size_t findCharsNoCase(std::string_view hay, std::string_view needle);

// The longest prefix of s of at most maxBytes bytes that does not split a double-byte character.
std::string_view cutBytes(std::string_view s, size_t maxBytes);

// Conversions. Bytes that have no counterpart become "?" (to CP932) or U+FFFD (to UTF-8).
std::string sjisToUtf8(std::string_view sjis);
std::string utf8ToSjis(std::string_view utf8);
bool isValidUtf8(std::string_view s);

}  // namespace kubrix

// A message literal written in UTF-8 in the source, converted to CP932 once on first use.
#define SJ(lit) ([]() -> const std::string& { static const std::string s_ = ::kubrix::utf8ToSjis(lit); return s_; }())

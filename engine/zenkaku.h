// The full-width mapping of ZENKAKU: half-width CP932 characters to their full-width forms, as the
// Japanese locale maps them, the same on every machine.
#pragma once

#include <string>
#include <string_view>

namespace kubrix {

// Appends s with every half-width character in its full-width form: the space and the printable
// ASCII characters (" ' ~ become ＂ ＇ ～; 0x5C becomes ＼), and the
// half-width katakana and signs. A katakana
// followed by a voiced or semi-voiced mark that combines with it becomes one character (ｶﾞ ガ, ﾊﾟ
// パ, ｳﾞ ヴ); other marks stand alone (゛ ゜). Double-byte characters, control characters and bytes
// without a full-width form are copied unchanged.
void appendFullWidth(std::string& out, std::string_view s);

}  // namespace kubrix

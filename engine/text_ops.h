// Text operations of the string commands on CP932 byte strings: counting, finding and cutting by
// characters (a double-byte character is one), lower case, angles in degrees, minutes and seconds,
// hexadecimal text and the parts of a file path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kubrix {

// Number of characters of s.
size_t charCount(std::string_view s);

// Character position (from 1) in hay where the first occurrence of needle begins; an occurrence
// counts only where a character begins. 0 when needle does not occur or is empty.
size_t charPosition(std::string_view needle, std::string_view hay);

// The characters start .. start + count - 1 of s (counted from 1), cut at the end of s. A start below
// 1 counts from the first character with the count unchanged; empty when count <= 0 or start lies
// beyond the last character.
std::string_view charSlice(std::string_view s, long long start, long long count);

// ASCII letters to lower case; double-byte characters are left whole.
void lowerInPlace(std::string& s);

// Degrees as whole degrees, minutes and seconds: D "ﾟ", then M "'" when M or S is not 0, then S "\""
// when S is not 0, seconds rounded half up and carried into minutes and degrees. A negative angle
// starts with "-" unless all three parts are 0 (so -0.5 is -0ﾟ30', not 0ﾟ30').
void appendDegrees(std::string& out, double degrees);

// Reads 1 to 8 hexadecimal digits (either case, nothing else) as a 32-bit pattern: FFFFFFFF is -1.
bool parseHex32(std::string_view s, int32_t& out);

// The longest zero padding STR2HEX writes; a 32-bit number needs 8 digits at most.
inline constexpr int kMaxHexDigits = 1000;

// v as upper-case hexadecimal of its 32-bit pattern, zero-padded on the left to at least minDigits
// digits (clamped to kMaxHexDigits).
void appendHex(std::string& out, int32_t v, int minDigits);

// A part of a file path with "/" as folder separator: 1 the file name, 2 the file name without its
// extension, 3 the folder with a trailing "/", 4 the folder without it (the root stays "/"), 5 the
// extension with its dot (empty when none); any other part the whole path. The parts of an empty
// path are empty.
std::string_view pathPart(std::string_view path, int part);

}  // namespace kubrix

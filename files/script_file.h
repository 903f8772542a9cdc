// Script files: plain scripts (".kx": Shift-JIS or UTF-8 text), protected scripts (".kxp": marker,
// comment, personal name, scrambled line records) and distribution scripts (".kxt": marker, title,
// author, URL, comment, nine thumbnail bitmaps, scrambled line records and an end record). The
// readers take all of a file or nothing: a damaged file gives an error and no lines.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kubrix {

enum class ScriptEncoding { Auto, Sjis, Utf8 };

// The byte added to the personal name and to the script lines of a protected script file.
inline constexpr uint8_t kScrambleOffset = 0x4B;
// The longest line a line record holds: its length field has 16 bits. Writing refuses a longer line
// instead of cutting it, and reading takes any record length up to this.
inline constexpr size_t kMaxRecordBytes = 0xFFFF;
inline constexpr size_t kThumbnailCount = 9;

// How a plain script file is stored, so that saving writes it back the same way.
struct PlainScriptFormat {
  bool utf8 = false;    // UTF-8 rather than CP932
  bool bom = false;     // UTF-8 with a byte-order mark
  bool lfOnly = false;  // lines end in LF rather than CR LF
};

struct ScriptLoad {
  bool ok = false;
  std::string body;   // CP932 text, lines separated by CR LF
  std::string error;  // UTF-8, when !ok
  bool utf8 = false;  // the plain file was read as UTF-8
  bool protectedFile = false;
  PlainScriptFormat format;  // of a plain file
};

// Decides how plain script bytes are read and returns them as CP932.
std::string plainScriptToSjis(std::string_view bytes, ScriptEncoding enc, bool* wasUtf8 = nullptr);
// True when bytes look like binary data rather than text.
bool looksBinary(std::string_view bytes);
// The storage of plain script bytes that were read as UTF-8 (utf8) or CP932.
PlainScriptFormat plainScriptFormatOf(std::string_view bytes, bool utf8);

// True when every character of the UTF-8 text has a CP932 code.
bool fitsCp932(std::string_view utf8);
// The bytes of a plain script file for editor text (UTF-8, lines separated by "\n", a final line
// end optional): every line followed by the format's line end, in CP932 — or in UTF-8 when the
// format says so or when the text holds a character CP932 lacks, so that nothing is lost
// (*wroteUtf8 tells which).
std::string plainScriptBytes(std::string_view utf8Text, const PlainScriptFormat& format, bool* wroteUtf8 = nullptr);

// The lines of a text separated by CR LF, LF or CR (a final line end makes no empty last line).
std::vector<std::string> splitScriptLines(std::string_view text);

// Writes a protected script (lines in CP932): every line trimmed of blanks and control characters,
// empty ones left out, one record per line. Nothing (and the 0-based index of the line in
// *overlongLine) when a trimmed line is longer than kMaxRecordBytes.
std::optional<std::string> writeProtectedScript(std::string_view comment, std::string_view personalName,
                                                const std::vector<std::string>& lines, size_t* overlongLine = nullptr);

struct DistributionHeader {
  std::string title, author, url, comment;  // CP932
};
// Writes a distribution script: the header (each field cut to kMaxRecordBytes), the nine bitmap
// files (an empty one is a missing picture, written with length 0) and the lines as the protected
// script writes them, then the end record.
std::optional<std::string> writeDistributionScript(const DistributionHeader& header,
                                                   const std::array<std::string, kThumbnailCount>& thumbnails,
                                                   const std::vector<std::string>& lines,
                                                   size_t* overlongLine = nullptr);

struct ProtectedScript {
  std::string comment, personalName;  // CP932, as written
  std::vector<std::string> lines;
};
struct DistributionScript {
  DistributionHeader header;
  std::array<std::string, kThumbnailCount> thumbnails;  // bitmap file bytes, empty when missing
  std::vector<std::string> lines;
};

// Reads a protected script file (all its bytes). False with an error (UTF-8) and nothing read when
// the marker is wrong, a record runs past the end of the file, or a line holds a line break or a
// NUL byte (the writer never makes one: the file is damaged).
bool readProtectedScript(std::string_view bytes, ProtectedScript& out, std::string& error);
// The same, with the lines as one CP932 body, each line followed by CR LF.
bool readProtectedScript(std::string_view bytes, std::string& body, std::string& error);
// Reads a distribution script file; as readProtectedScript, and the end record must close the file.
bool readDistributionScript(std::string_view bytes, DistributionScript& out, std::string& error);

// The path of a plain script's backup copy: the extension replaced by (or, without one, extended
// with) ".bak".
std::string backupPath(const std::string& path);
// Copies an existing file byte for byte to its backup path, through a temporary file: a copy that
// fails leaves an earlier backup as it was. False when there is nothing to copy or the copy failed.
bool makeBackupCopy(const std::string& path);

// Loads SCRIPT: ".kxp" (any case) as a protected script, anything else as a plain script.
ScriptLoad loadScriptFile(const std::string& path, ScriptEncoding enc);

}  // namespace kubrix

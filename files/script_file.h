// Script files as the engine reads them: plain scripts (Shift-JIS or UTF-8 text) and protected
// scripts (".kxp": marker, comment, personal name, scrambled line records).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kubrix {

enum class ScriptEncoding { Auto, Sjis, Utf8 };

// The byte added to the personal name and to the script lines of a protected script file.
inline constexpr uint8_t kScrambleOffset = 0x4B;

struct ScriptLoad {
  bool ok = false;
  std::string body;   // CP932 text, lines separated by CR LF
  std::string error;  // UTF-8, when !ok
  bool utf8 = false;  // the plain file was read as UTF-8
  bool protectedFile = false;
};

// Decides how plain script bytes are read and returns them as CP932.
std::string plainScriptToSjis(std::string_view bytes, ScriptEncoding enc, bool* wasUtf8 = nullptr);
// True when bytes look like binary data rather than text.
bool looksBinary(std::string_view bytes);

// Reads the lines of a protected script file (bytes of the whole file).
bool readProtectedScript(std::string_view bytes, std::string& body, std::string& error);
// Writes a protected script: every non-empty trimmed line becomes one record.
std::string writeProtectedScript(std::string_view comment, std::string_view personalName,
                                 const std::vector<std::string>& lines);

// Loads SCRIPT: ".kxp" (any case) as a protected script, anything else as a plain script.
ScriptLoad loadScriptFile(const std::string& path, ScriptEncoding enc);

}  // namespace kubrix

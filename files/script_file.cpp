// Plain script files and loading any script file.
#include "files/script_file.h"

#include <cerrno>
#include <iconv.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/sjis.h"
#include "files/replacing_file.h"

namespace kubrix {

bool looksBinary(std::string_view bytes) {
  // Text scripts may hold a stray control character; data files are full of them.
  const size_t n = std::min<size_t>(bytes.size(), 65536);
  if (n == 0) return false;
  size_t control = 0;
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 32 && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != 0x1A) ++control;
  }
  return control * 10 > n;  // more than a tenth
}

std::string plainScriptToSjis(std::string_view bytes, ScriptEncoding enc, bool* wasUtf8) {
  bool utf8 = false;
  const bool bom = bytes.size() >= 3 && memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0;
  if (enc == ScriptEncoding::Utf8) {
    utf8 = true;
  } else if (enc == ScriptEncoding::Auto) {
    bool high = false;
    for (char c : bytes) high = high || static_cast<unsigned char>(c) >= 0x80;
    utf8 = bom || (high && isValidUtf8(bytes));
  }
  if (wasUtf8) *wasUtf8 = utf8;
  if (!utf8) return std::string(bytes);
  if (bom) bytes.remove_prefix(3);
  return utf8ToSjis(bytes);
}

PlainScriptFormat plainScriptFormatOf(std::string_view bytes, bool utf8) {
  PlainScriptFormat f;
  f.utf8 = utf8;
  f.bom = utf8 && bytes.size() >= 3 && memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0;
  // The first line end tells; a file without one gets CR LF.
  const size_t nl = bytes.find('\n');
  f.lfOnly = nl != std::string_view::npos && (nl == 0 || bytes[nl - 1] != '\r');
  return f;
}

bool fitsCp932(std::string_view utf8) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return true;
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in(utf8);
  char* inp = in.data();
  size_t inLeft = in.size();
  char buf[4096];
  bool ok = true;
  while (inLeft > 0) {
    char* outp = buf;
    size_t outLeft = sizeof buf;
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;  // EILSEQ: no CP932 code (or not UTF-8); EINVAL: cut sequence
      break;
    }
  }
  iconv_close(cd);
  return ok;
}

std::vector<std::string> splitScriptLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string plainScriptBytes(std::string_view utf8Text, const PlainScriptFormat& format, bool* wroteUtf8) {
  const bool utf8 = format.utf8 || !fitsCp932(utf8Text);
  if (wroteUtf8) *wroteUtf8 = utf8;
  const std::string_view eol = format.lfOnly ? "\n" : "\r\n";
  std::string text;
  text.reserve(utf8Text.size() + utf8Text.size() / 16 + 4);
  if (utf8 && format.bom) text += "\xEF\xBB\xBF";
  for (const std::string& line : splitScriptLines(utf8Text)) {
    text += line;
    text += eol;
  }
  if (!utf8) return utf8ToSjis(text);
  return text;
}

std::string backupPath(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".bak";
  return path.substr(0, dot) + ".bak";
}

bool makeBackupCopy(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) return false;
  const std::string target = backupPath(path);
  if (target == path) return false;
  return writeFileReplacing(target, ss.str());
}

ScriptLoad loadScriptFile(const std::string& path, ScriptEncoding enc) {
  ScriptLoad r;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    r.error = "cannot read " + path + ": it is a directory";
    return r;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    r.error = std::string("cannot read ") + path + ": " + strerror(errno);
    return r;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) {
    r.error = std::string("cannot read ") + path;
    return r;
  }
  const std::string bytes = ss.str();
  std::string ext;
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ext = upper(path.substr(dot));
  if (ext == ".KXP") {
    r.protectedFile = true;
    std::string err;
    if (!readProtectedScript(bytes, r.body, err)) {
      r.error = path + ": " + err;
      return r;
    }
    r.ok = true;
    return r;
  }
  if (looksBinary(bytes)) {
    r.error = path + ": not a script (the file holds binary data)";
    return r;
  }
  r.body = plainScriptToSjis(bytes, enc, &r.utf8);
  r.format = plainScriptFormatOf(bytes, r.utf8);
  r.ok = true;
  return r;
}

}  // namespace kubrix
